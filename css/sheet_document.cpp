#include "css/sheet_document.h"

#include <utility>

#include <algorithm>
#include <cstdint>

#include "model/text_util.h"
#include "model/vocabulary.h"

namespace larkspur {

SheetDocument::SheetDocument() = default;

void SheetDocument::CreateStartRules() {
    rules_.clear();
    rules_.reserve(kTagNames.size());
    for (std::string_view tag : kTagNames) rules_.emplace_back(tag);
    checked_.assign(rules_.size(), 0);
    order_.clear();
    order_.resize(rules_.size());
    sheetItems_.clear();
    RebuildRuleIndex();
    listing_.Clear();
    selected_ = 0;
    SetModified(false);
}

void SheetDocument::SetChecked(int index, bool checked) {
    if (!IsValidIndex(index) || IsChecked(index) == checked) return;
    Touch(index);
    checked_[static_cast<size_t>(index)] = checked ? 1 : 0;
}

void SheetDocument::SetModified(bool modified) {
    if (modified_ == modified) return;
    modified_ = modified;
    Notify([&](SheetObserver& o) { o.ModifiedChanged(modified); });
}

void SheetDocument::CheckRule(int index, bool checked) {
    if (!IsValidIndex(index)) return;
    SetChecked(index, checked);
    if (checked == (rules_[static_cast<size_t>(index)].listed != 0)) return;
    if (checked)
        ListRule(index);
    else
        UnlistRule(index);
}

bool SheetDocument::IsLastInListing(const StyleRule& rule) const {
    return rule.firstLine + rule.lineCount == listing_.Count() - 1;
}

void SheetDocument::ShiftRulesBelow(const StyleRule& rule, int delta) {
    // While a sheet is read, the rule being filled is always the last one in
    // the listing; skipping the scan then keeps reading linear.
    if (!IsLastInListing(rule)) ShiftLinesFrom(rule.firstLine + 1, delta);
}

// Every listed rule and kept text from listing line `from` on moves by delta.
void SheetDocument::ShiftLinesFrom(int from, int delta) {
    for (StyleRule& other : rules_)
        if (other.listed && other.firstLine >= from) other.firstLine += delta;
    for (SheetItem& item : sheetItems_)
        if (item.firstLine >= from) item.firstLine += delta;
}

void SheetDocument::ListRule(int index) { ListRuleInOrder(index, nullptr); }

// A rule that keeps text lists its declarations in its own order; any other
// in the order of the file just read, or else in index order.
void SheetDocument::ListRuleInOrder(int index, const std::span<const unsigned char>* fileOrder) {
    if (!IsValidIndex(index)) return;
    Touch(index);
    StyleRule& rule = rules_[static_cast<size_t>(index)];
    rule.firstLine = listing_.Count();
    listing_.Append(rule.selector + "{");
    listing_.Append("}");
    rule.lineCount = 1;
    rule.listed = 1;
    for (PropertyEntry& entry : rule.properties) entry.listed = 0;
    ListBody(index, fileOrder);
    SetModified(true);
}

// The declarations and kept text of a rule, between its header and closing
// brace; none of its entries is listed yet.
void SheetDocument::ListBody(int index, const std::span<const unsigned char>* fileOrder) {
    StyleRule& rule = rules_[static_cast<size_t>(index)];
    if (RuleOrder* order = order_[static_cast<size_t>(index)].get()) {
        for (size_t k = 0; k < order->items.size(); ++k) {
            const int entry = order->items[k].entry;
            if (entry < 0)
                AppendKeptLines(rule, order->items[k].text);
            else if (rule.properties[static_cast<size_t>(entry)].changed)
                ListValue(index, entry);
        }
        // An entry that found no line gives up its place: when it is set
        // again it goes where the listing puts a new declaration.
        for (int i = 0; i < kPropertyCount; ++i)
            if (order->Has(i) && !std::as_const(rule.properties)[static_cast<size_t>(i)].listed) order->Remove(i);
    } else if (fileOrder) {
        for (int i : *fileOrder) ListValue(index, i);
    }
    for (auto it = rule.properties.begin(); it != rule.properties.end(); ++it)
        if (it->changed && !it->listed) ListValue(index, it.index());
}

void SheetDocument::AppendKeptLines(StyleRule& rule, std::string_view text) {
    const bool last = IsLastInListing(rule);
    const int first = rule.firstLine + rule.lineCount;
    int at = first;
    ForEachLine(text, [&](std::string_view line) { listing_.Insert(at++, line); });
    if (!last) ShiftLinesFrom(rule.firstLine + 1, at - first);
    rule.lineCount += at - first;
}

// Takes out the lines of kept text of a listed rule whose entries are all
// unlisted, and forgets its order.
void SheetDocument::RemoveKeptLines(int index) {
    std::unique_ptr<RuleOrder>& order = order_[static_cast<size_t>(index)];
    if (!order) return;
    StyleRule& rule = rules_[static_cast<size_t>(index)];
    const int lines = rule.lineCount - 1;
    if (rule.listed && lines > 0) {
        ShiftRulesBelow(rule, -lines);
        listing_.Remove(rule.firstLine + 1, lines);
        rule.lineCount -= lines;
        SetModified(true);
    }
    order.reset();
}

void SheetDocument::UnlistRule(int index) {
    if (!IsValidIndex(index)) return;
    StyleRule& rule = rules_[static_cast<size_t>(index)];
    if (!rule.listed) return;
    Touch(index);
    const int removed = rule.lineCount + 1;
    ShiftLinesFrom(rule.firstLine + 1, -removed);
    listing_.Remove(rule.firstLine, removed);
    for (PropertyEntry& entry : rule.properties) entry.listed = 0;
    rule.listed = 0;
    SetModified(true);
}

// Listing an entry neither adds nor removes one, so the walks over the held
// entries stay valid.
void SheetDocument::ListChangedValues(int index) {
    PropertyList& entries = rules_[static_cast<size_t>(index)].properties;
    for (auto it = entries.begin(); it != entries.end(); ++it)
        if (it->changed) ListValue(index, it.index());
}

void SheetDocument::RemoveListedValues(int index) {
    PropertyList& entries = rules_[static_cast<size_t>(index)].properties;
    for (auto it = entries.begin(); it != entries.end(); ++it)
        if (it->listed) RemoveValue(index, it.index());
}

PropertyEntry* SheetDocument::EntryAt(int rule, int property) {
    if (!IsValidIndex(rule) || property < 0 || property >= kPropertyCount) return nullptr;
    return &rules_[static_cast<size_t>(rule)].properties[static_cast<size_t>(property)];
}

void SheetDocument::SetValue(int rule, int property, std::string_view value) {
    PropertyEntry* entry = EntryAt(rule, property);
    if (!entry) return;
    Touch(rule);
    entry->value.assign(value);
    entry->valueSet = 1;
    entry->changed = 1;
    ListValue(rule, property);
}

void SheetDocument::MarkValueSet(int rule, int property) {
    PropertyEntry* entry = EntryAt(rule, property);
    if (!entry || (entry->valueSet && entry->changed)) return;
    Touch(rule);
    entry->valueSet = entry->changed = 1;
}

void SheetDocument::SeedValue(int rule, int property, std::string_view value) {
    PropertyEntry* entry = EntryAt(rule, property);
    if (!entry || entry->valueSet || !entry->value.empty()) return;
    Touch(rule);
    entry->value.assign(value);
    entry->valueSet = 1;
}

void SheetDocument::ListValue(int index, int property) {
    PropertyEntry* found = EntryAt(index, property);
    if (!found) return;
    Touch(index);
    StyleRule& rule = rules_[static_cast<size_t>(index)];
    PropertyEntry& entry = *found;
    if (!rule.listed) {
        entry.changed = 1;
        return;
    }
    if (!entry.HasAnyValueText()) {
        RemoveValue(index, property);
        return;
    }
    if (!entry.valueSet && !entry.alternateSet && !entry.genericSet) {
        entry.changed = 1;
        return;
    }
    std::string text = entry.ComposeDeclaration();
    text += ';';
    SetModified(true);
    if (!entry.listed) {
        const int line = rule.firstLine + rule.lineCount;
        ShiftRulesBelow(rule, +1);
        entry.line = rule.lineCount;
        ++rule.lineCount;
        entry.listed = 1;
        listing_.Insert(line, text);
        if (RuleOrder* order = order_[static_cast<size_t>(index)].get(); order && !order->Has(property))
            order->Add(property);
    } else {
        listing_.Replace(rule.firstLine + entry.line, text);
    }
    entry.changed = 1;
}

void SheetDocument::RemoveValue(int index, int property) {
    PropertyEntry* found = EntryAt(index, property);
    if (!found) return;
    StyleRule& rule = rules_[static_cast<size_t>(index)];
    PropertyEntry& entry = *found;
    if (!rule.listed || !entry.listed) return;
    Touch(index);
    SetModified(true);
    ShiftRulesBelow(rule, -1);
    listing_.Remove(rule.firstLine + entry.line);
    for (PropertyEntry& other : rule.properties)
        if (&other != &entry && other.listed && other.line > entry.line) --other.line;
    --rule.lineCount;
    entry.listed = 0;
    if (RuleOrder* order = order_[static_cast<size_t>(index)].get()) order->Remove(property);
}

// A part's flag goes up only with a text to go with it: a set flag on an
// empty part would write "font-family: , serif;".
void SheetDocument::ListFamily(int rule) {
    PropertyEntry* e = EntryAt(rule, kFontFamily);
    if (!e) return;
    // The second choice is written only behind a first one.
    const int keepAlternate = e->alternateSet;
    if (!e->valueSet) e->alternateSet = 0;
    if ((e->valueSet && !e->value.empty()) || (e->genericSet && !e->generic.empty()))
        ListValue(rule, kFontFamily);
    else
        RemoveValue(rule, kFontFamily);
    e->alternateSet = keepAlternate;
}

void SheetDocument::SetFamilyPart(int rule, FamilyPart part, std::string_view text) {
    PropertyEntry* e = EntryAt(rule, kFontFamily);
    if (!e) return;
    Touch(rule);
    switch (part) {
    case FamilyPart::First: e->value.assign(text); e->valueSet = 1; break;
    case FamilyPart::Second: e->alternate.assign(text); e->alternateSet = 1; break;
    case FamilyPart::Generic: e->generic.assign(text); e->genericSet = 1; break;
    }
    e->changed = 1;
    ListFamily(rule);
}

void SheetDocument::SwitchFamilyPart(int rule, FamilyPart part, bool on) {
    PropertyEntry* e = EntryAt(rule, kFontFamily);
    if (!e) return;
    Touch(rule);
    PropertyEntry::Flag& flag = part == FamilyPart::First ? e->valueSet : part == FamilyPart::Second ? e->alternateSet : e->genericSet;
    const std::string& text = part == FamilyPart::First ? e->value : part == FamilyPart::Second ? e->alternate : e->generic;
    if (!on) {
        flag = 0;
        ListFamily(rule);
        return;
    }
    if (part == FamilyPart::First)
        flag = text.empty() ? 0 : 1;
    else if (text.empty())
        return;
    else
        flag = 1;
    if (e->changed) ListFamily(rule);
}

void SheetDocument::SetPageState(int rule, const PageState& state) {
    if (!IsValidIndex(rule) || rules_[static_cast<size_t>(rule)].pageState() == state) return;
    Touch(rule);
    rules_[static_cast<size_t>(rule)].pageState() = state;
}

uint64_t SelectorHash(std::string_view selector) {
    uint64_t h = 14695981039346656037ull;  // FNV-1a over the upper-cased bytes
    for (char c : selector) h = (h ^ static_cast<unsigned char>(AsciiUpper(c))) * 1099511628211ull;
    return h ^ (h >> 31);
}

void SheetDocument::RebuildRuleIndex() {
    ruleIndex_.clear();
    ReserveRuleIndex(rules_.size());
}

// Sized for `rules` rules, so that appending up to that many rebuilds nothing.
void SheetDocument::ReserveRuleIndex(size_t rules) {
    size_t slots = 64;
    while (slots < rules + rules / 2 + 2) slots *= 2;
    if (slots <= ruleIndex_.size()) return;
    ruleIndex_.assign(slots, RuleSlot{});
    for (int i = 0; i < RuleCount(); ++i) IndexRule(i);
}

// A selector already held keeps the earlier rule, which FindRule names.
void SheetDocument::IndexRule(int index) { IndexRule(index, SelectorHash(rules_[static_cast<size_t>(index)].selector)); }

void SheetDocument::IndexRule(int index, uint64_t hash) {
    if (ruleIndex_.size() < rules_.size() + rules_.size() / 2 + 2) {
        RebuildRuleIndex();
        return;
    }
    const std::string& selector = rules_[static_cast<size_t>(index)].selector;
    const auto tag = static_cast<uint32_t>(hash >> 32);
    const size_t mask = ruleIndex_.size() - 1;
    for (size_t slot = hash & mask;; slot = (slot + 1) & mask) {
        RuleSlot& held = ruleIndex_[slot];
        if (held.rulePlusOne == 0) {
            held = {tag, index + 1};
            return;
        }
        if (held.tag == tag &&
            EqualsIgnoreCase(rules_[static_cast<size_t>(held.rulePlusOne - 1)].selector, selector))
            return;
    }
}

int SheetDocument::FindRule(std::string_view selector) const {
    if (ruleIndex_.empty()) return -1;
    const uint64_t hash = SelectorHash(selector);
    const auto tag = static_cast<uint32_t>(hash >> 32);
    const size_t mask = ruleIndex_.size() - 1;
    for (size_t slot = hash & mask;; slot = (slot + 1) & mask) {
        const RuleSlot& held = ruleIndex_[slot];
        if (held.rulePlusOne == 0) return -1;
        if (held.tag == tag &&
            EqualsIgnoreCase(rules_[static_cast<size_t>(held.rulePlusOne - 1)].selector, selector))
            return held.rulePlusOne - 1;
    }
}

void SheetDocument::Reserve(int rules, int listingLines) {
    rules_.reserve(static_cast<size_t>(rules));
    checked_.reserve(static_cast<size_t>(rules));
    listing_.Reserve(static_cast<size_t>(listingLines), 0);
}

int SheetDocument::AppendRule(std::string_view selector) {
    std::string text(selector);
    const uint64_t hash = SelectorHash(text);
    return AppendRule(std::move(text), hash);
}

int SheetDocument::AppendRule(std::string&& selector, uint64_t hash) {
    rules_.emplace_back().selector = std::move(selector);
    checked_.push_back(0);
    order_.emplace_back();
    const int index = LastIndex();
    IndexRule(index, hash);
    Notify([&](SheetObserver& o) { o.RuleAppended(index); });
    return index;
}

void SheetDocument::RemoveRule(int index) {
    if (!IsValidIndex(index)) return;
    if (observer_) observer_->RuleRemoving(index);
    const int keep = selected_;
    UnlistRule(index);
    rules_.erase(rules_.begin() + index);
    checked_.erase(checked_.begin() + index);
    order_.erase(order_.begin() + index);
    // Text kept after the rule stays where it was: after the rule before it.
    for (SheetItem& item : sheetItems_)
        if (item.after >= index) --item.after;
    RebuildRuleIndex();
    if (keep > index)
        selected_ = keep - 1;
    else if (keep == index)
        selected_ = rules_.empty() ? -1 : std::min(index, LastIndex());
    else
        selected_ = keep;
    Notify([&](SheetObserver& o) { o.RuleRemoved(index); });
}

void SheetDocument::RenameRule(int index, std::string_view selector) {
    if (!IsValidIndex(index)) return;
    Touch(index);
    StyleRule& rule = rules_[static_cast<size_t>(index)];
    rule.selector.assign(selector);
    RebuildRuleIndex();
    if (rule.listed) {
        listing_.Replace(rule.firstLine, rule.selector + "{");
        SetModified(true);
    }
    Notify([&](SheetObserver& o) { o.RuleRenamed(index); });
}

void SheetDocument::ClearRule(int index) {
    if (!IsValidIndex(index)) return;
    Touch(index);
    StyleRule& rule = rules_[static_cast<size_t>(index)];
    RemoveListedValues(index);
    RemoveKeptLines(index);
    const int wasListed = rule.listed;
    rule.ResetToDefaults();
    rule.listed = wasListed;
}

void SheetDocument::CopyRuleValues(int from, int to) {
    if (!IsValidIndex(from) || !IsValidIndex(to) || from == to) return;
    Touch(to);
    StyleRule& target = rules_[static_cast<size_t>(to)];
    // The copied entries carry the source's line numbers; take the target's
    // own lines out first and list the copied declarations afresh.
    RemoveListedValues(to);
    RemoveKeptLines(to);
    target.CopyValuesFrom(rules_[static_cast<size_t>(from)]);
    for (PropertyEntry& entry : target.properties) entry.listed = 0;
    if (const RuleOrder* source = order_[static_cast<size_t>(from)].get())
        order_[static_cast<size_t>(to)] = std::make_unique<RuleOrder>(*source);
    if (target.listed) ListBody(to, nullptr);
}

void SheetDocument::ResetAllRules() {
    listing_.Clear();
    for (auto& order : order_) order.reset();
    sheetItems_.clear();
    for (int i = 0; i < RuleCount(); ++i) {
        rules_[i].ResetToDefaults();
        if (checked_[i]) {
            checked_[i] = 0;
            Notify([&](SheetObserver& o) { o.RuleCheckChanged(i, false); });
        }
    }
}

bool RuleSnapshot::operator==(const RuleSnapshot& other) const {
    return index == other.index && checked == other.checked && firstLine == other.firstLine &&
           lineCount == other.lineCount && lines == other.lines && rule.selector == other.rule.selector &&
           rule.listed == other.rule.listed && rule.pageState() == other.rule.pageState() &&
           rule.properties == other.rule.properties &&
           (order ? other.order && *order == *other.order : !other.order) && followers == other.followers;
}

RuleSnapshot SheetDocument::Snapshot(int index) const {
    RuleSnapshot s;
    if (!IsValidIndex(index)) return s;
    const StyleRule& rule = rules_[static_cast<size_t>(index)];
    s.index = index;
    s.checked = IsChecked(index);
    s.rule = rule;
    if (const RuleOrder* order = order_[static_cast<size_t>(index)].get())
        s.order = std::make_shared<const RuleOrder>(*order);
    for (size_t i = 0; i < sheetItems_.size(); ++i)
        if (sheetItems_[i].after == index) s.followers.push_back(i);
    if (rule.listed) {
        s.firstLine = rule.firstLine;
        s.lineCount = rule.lineCount;
        for (int i = rule.firstLine; i <= rule.firstLine + rule.lineCount; ++i) s.lines.emplace_back(listing_.Line(i));
    }
    return s;
}

void SheetDocument::PlaceBlock(int index, const RuleSnapshot& s) {
    StyleRule& rule = rules_[static_cast<size_t>(index)];
    ShiftLinesFrom(s.firstLine, static_cast<int>(s.lines.size()));
    listing_.Insert(s.firstLine, s.lines);
    rule.firstLine = s.firstLine;
    rule.lineCount = s.lineCount;
    rule.listed = 1;
}

void SheetDocument::RestoreRules(const std::vector<RuleSnapshot>& snapshots) {
    // Every changed block leaves the listing first; what stays is the listing
    // the snapshots were taken from without their blocks, so putting the
    // blocks back in line order puts each where it was.
    for (const RuleSnapshot& s : snapshots) UnlistRule(s.index);
    std::vector<const RuleSnapshot*> listed;
    for (const RuleSnapshot& s : snapshots) {
        if (!IsValidIndex(s.index)) continue;
        StyleRule& rule = rules_[static_cast<size_t>(s.index)];
        rule = s.rule;
        rule.listed = 0;
        order_[static_cast<size_t>(s.index)] = s.order ? std::make_unique<RuleOrder>(*s.order) : nullptr;
        checked_[static_cast<size_t>(s.index)] = s.checked ? 1 : 0;
        if (s.rule.listed) listed.push_back(&s);
        Notify([&](SheetObserver& o) {
            o.RuleRenamed(s.index);
            o.RuleCheckChanged(s.index, s.checked);
        });
    }
    RebuildRuleIndex();  // selectors may have gone back
    std::sort(listed.begin(), listed.end(),
              [](const RuleSnapshot* a, const RuleSnapshot* b) { return a->firstLine < b->firstLine; });
    for (const RuleSnapshot* s : listed) PlaceBlock(s->index, *s);
    SetModified(true);
}

void SheetDocument::InsertRule(const RuleSnapshot& s) {
    if (s.index < 0 || s.index > RuleCount()) return;
    rules_.insert(rules_.begin() + s.index, s.rule);
    rules_[static_cast<size_t>(s.index)].listed = 0;
    checked_.insert(checked_.begin() + s.index, s.checked ? 1 : 0);
    order_.insert(order_.begin() + s.index, s.order ? std::make_unique<RuleOrder>(*s.order) : nullptr);
    // The inverse of RemoveRule's shift: text that followed the rule follows
    // it again.
    for (SheetItem& item : sheetItems_)
        if (item.after >= s.index) ++item.after;
    for (size_t i : s.followers)
        if (i < sheetItems_.size()) sheetItems_[i].after = s.index;
    RebuildRuleIndex();
    if (selected_ >= s.index) ++selected_;
    if (s.rule.listed) PlaceBlock(s.index, s);
    SetModified(true);
    Notify([&](SheetObserver& o) { o.RuleAppended(s.index); });
}

// With `put`, the text goes out in pieces as it grows; false when a put fails.
bool SheetDocument::AppendRuleText(std::string& out, const ContentPut* put) const {
    constexpr size_t kPiece = size_t{1} << 16;
    auto flush = [&](size_t atLeast) {
        if (!put || out.size() < atLeast) return true;
        const bool ok = (*put)(out);
        out.clear();
        return ok;
    };
    size_t item = 0;
    auto keptUpTo = [&](int after) {
        for (; item < sheetItems_.size() && sheetItems_[item].after <= after; ++item) {
            out += sheetItems_[item].text;
            out += "\r\n";
        }
    };
    auto declaration = [&](const PropertyEntry& entry) {
        entry.AppendDeclaration(out);
        out += ";\r\n";
    };
    keptUpTo(-1);
    for (size_t r = 0; r < rules_.size(); ++r) {
        const StyleRule& rule = rules_[r];
        if (rule.listed) {
            out += rule.selector;
            out += " {\r\n";
            const RuleOrder* order = order_[r].get();
            if (order) {
                for (const RuleOrder::Item& i : order->items) {
                    if (i.entry < 0) {
                        out += i.text;
                        out += "\r\n";
                    } else if (rule.properties[static_cast<size_t>(i.entry)].listed) {
                        declaration(rule.properties[static_cast<size_t>(i.entry)]);
                    }
                }
            }
            for (auto it = rule.properties.begin(); it != rule.properties.end(); ++it)
                if (it->listed && !(order && order->Has(it.index()))) declaration(*it);
            out += "}\r\n";
        }
        keptUpTo(static_cast<int>(r));
        if (!flush(kPiece)) return false;
    }
    keptUpTo(RuleCount());
    return flush(1);
}

void SheetDocument::LoadSheet(ReadSheet sheet) {
    ResetAllRules();
    keptByRead_ = std::move(sheet.kept);
    const size_t rules = rules_.size() + sheet.newSelectors.size();
    rules_.reserve(rules);
    checked_.reserve(rules);
    order_.reserve(rules);
    ReserveRuleIndex(rules);
    for (size_t i = 0; i < sheet.newSelectors.size(); ++i)
        AppendRule(std::move(sheet.newSelectors[i]), sheet.newSelectorHashes[i]);
    std::vector<std::string>().swap(sheet.newSelectors);
    std::vector<uint64_t>().swap(sheet.newSelectorHashes);
    sheetItems_.reserve(sheet.items.size());
    // The listing's room: a header and a closing line a rule, a line an entry
    // read, and the lines of kept text; characters about as many as written.
    size_t lines = 0;
    size_t characters = 0;
    for (const ReadSheet::Rule& read : sheet.rules) {
        if (!IsValidIndex(read.index)) continue;
        lines += 2;
        characters += rules_[static_cast<size_t>(read.index)].selector.size() + 2;
        for (const PropertyEntry& entry : read.values.properties) {
            ++lines;
            characters += entry.name.size() + entry.value.size() + entry.alternate.size() + entry.generic.size() + 8;
        }
    }
    // Kept text counts a line each: most is one line, and the rest only
    // grows the listing's table of line ends.
    auto keptText = [&](std::string_view text) {
        ++lines;
        characters += text.size();
    };
    for (const std::unique_ptr<RuleOrder>& order : sheet.orders)
        for (const RuleOrder::Item& item : order->items)
            if (item.entry < 0) keptText(item.text);
    for (const SheetItem& item : sheet.items) keptText(item.text);
    listing_.Reserve(static_cast<size_t>(listing_.Count()) + lines, characters);
    for (ReadSheet::Piece& piece : sheet.pieces) {
        if (piece.rule < 0) {
            SheetItem& item = sheetItems_.emplace_back(std::move(sheet.items[static_cast<size_t>(piece.item)]));
            item.firstLine = listing_.Count();
            ForEachLine(item.text, [&](std::string_view line) { listing_.Append(line); });
            continue;
        }
        ReadSheet::Rule& read = sheet.rules[static_cast<size_t>(piece.rule)];
        if (!IsValidIndex(read.index)) continue;
        selected_ = read.index;
        StyleRule& rule = rules_[static_cast<size_t>(read.index)];
        // Every rule was reset when the read began and each is read once, so
        // none is listed; should one be all the same, its old lines leave
        // the listing first.
        if (rule.listed) UnlistRule(read.index);
        rule.TakeValuesFrom(std::move(read.values));
        if (read.order >= 0) order_[static_cast<size_t>(read.index)] = std::move(sheet.orders[static_cast<size_t>(read.order)]);
        const std::span<const unsigned char> fileOrder = sheet.EntryOrderOf(read);
        ListRuleInOrder(read.index, &fileOrder);
        checked_[static_cast<size_t>(read.index)] = 1;
        Notify([&](SheetObserver& o) { o.RuleCheckChanged(read.index, true); });
    }
    const int selected = selected_;
    Notify([&](SheetObserver& o) {
        if (IsValidIndex(selected)) o.RuleSelected(selected);
        o.PagesNeedReload();
    });
}

std::string SheetDocument::StyleSheetText() const {
    std::string out;
    AppendRuleText(out);
    return out;
}

std::string SheetDocument::BuildStyleBlock() const {
    std::string out(kStyleBlockStart);
    AppendRuleText(out);
    out += kStyleBlockEnd;
    return out;
}

IoResult SheetDocument::WriteStyleSheetFile(const std::string& path) const {
    return ReplaceFileContents(path, [this](const ContentPut& put) {
        std::string piece;
        return AppendRuleText(piece, &put);
    });
}

}  // namespace larkspur
