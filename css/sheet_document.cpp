#include "css/sheet_document.h"

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
    listing_.Clear();
    listingLineCount_ = 0;
    selected_ = 0;
    modified_ = false;
}

void SheetDocument::SetChecked(int index, bool checked) {
    if (IsValidIndex(index)) checked_[index] = checked ? 1 : 0;
}

bool SheetDocument::IsLastInListing(const StyleRule& rule) const {
    return rule.firstLine + rule.lineCount == listing_.Count() - 1;
}

void SheetDocument::ShiftRulesBelow(const StyleRule& rule, int delta) {
    // While a sheet is read, the rule being filled is always the last one in
    // the listing; skipping the scan then keeps reading linear.
    if (IsLastInListing(rule)) return;
    for (StyleRule& other : rules_)
        if (&other != &rule && other.listed && other.firstLine > rule.firstLine) other.firstLine += delta;
    for (SheetItem& item : sheetItems_)
        if (item.firstLine > rule.firstLine) item.firstLine += delta;
}

void SheetDocument::ListRule() { ListSelected(nullptr); }

// A rule that keeps text lists its declarations in its own order; any other
// in the order of the file just read, or else in index order.
void SheetDocument::ListSelected(const std::vector<int>* fileOrder) {
    StyleRule* rule = SelectedRule();
    if (!rule) return;
    rule->firstLine = listing_.Count();
    listing_.Append(rule->selector + "{");
    listing_.Append("}");
    rule->lineCount = rule->lastLine = listing_.Count() - 1 - rule->firstLine;
    listingLineCount_ += 2;
    rule->listed = 1;
    for (PropertyEntry& entry : rule->properties) entry.listed = 0;
    ListBody(fileOrder);
    modified_ = true;
}

// The declarations and kept text of the selected rule, between its header
// and closing brace; none of its entries is listed yet.
void SheetDocument::ListBody(const std::vector<int>* fileOrder) {
    StyleRule* rule = SelectedRule();
    if (RuleOrder* order = order_[static_cast<size_t>(selected_)].get()) {
        for (size_t k = 0; k < order->items.size(); ++k) {
            const int entry = order->items[k].entry;
            if (entry < 0)
                AppendKeptLines(*rule, order->items[k].text);
            else if (rule->properties[static_cast<size_t>(entry)].changed)
                ListDeclaration(entry);
        }
        // An entry that found no line gives up its place: when it is set
        // again it goes where the listing puts a new declaration.
        for (int i = 0; i < kPropertyCount; ++i)
            if (order->Has(i) && !rule->properties[static_cast<size_t>(i)].listed) order->Remove(i);
    } else if (fileOrder) {
        for (int i : *fileOrder) ListDeclaration(i);
    }
    for (int i = 0; i < kPropertyCount; ++i)
        if (rule->properties[i].changed && !rule->properties[i].listed) ListDeclaration(i);
}

void SheetDocument::AppendKeptLines(StyleRule& rule, std::string_view text) {
    const int lines = LineCountOf(text);
    int index = rule.firstLine + rule.lineCount;
    ShiftRulesBelow(rule, lines);
    rule.lineCount += lines;
    rule.lastLine += lines;
    listingLineCount_ += lines;
    ForEachLine(text, [&](std::string_view line) { listing_.Insert(index++, std::string(line)); });
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
        rule.lastLine -= lines;
        listingLineCount_ -= lines;
        modified_ = true;
    }
    order.reset();
}

void SheetDocument::UnlistRule() {
    StyleRule* rule = SelectedRule();
    if (!rule || !rule->listed) return;
    const int removed = rule->lastLine + 1;
    for (StyleRule& other : rules_)
        if (&other != rule && other.listed && other.firstLine > rule->firstLine) other.firstLine -= removed;
    for (SheetItem& item : sheetItems_)
        if (item.firstLine > rule->firstLine) item.firstLine -= removed;
    listing_.Remove(rule->firstLine, removed);
    listingLineCount_ -= removed;
    for (PropertyEntry& entry : rule->properties) entry.listed = 0;
    rule->listed = 0;
    modified_ = true;
}

void SheetDocument::ListDeclaration(int entryIndex) {
    StyleRule* rule = SelectedRule();
    if (!rule || entryIndex < 0 || entryIndex >= kPropertyCount) return;
    PropertyEntry& entry = rule->properties[entryIndex];
    if (!rule->listed) {
        entry.changed = 1;
        return;
    }
    if (!entry.HasAnyValueText()) {
        UnlistDeclaration(entryIndex);
        return;
    }
    if (!entry.valueSet && !entry.alternateSet && !entry.genericSet) {
        entry.changed = 1;
        return;
    }
    std::string text = entry.ComposeDeclaration();
    text += ';';
    modified_ = true;
    if (!entry.listed) {
        const int index = rule->firstLine + rule->lineCount;
        ShiftRulesBelow(*rule, +1);
        entry.line = rule->lineCount;
        ++rule->lineCount;
        ++rule->lastLine;
        ++listingLineCount_;
        entry.listed = 1;
        listing_.Insert(index, std::move(text));
        if (RuleOrder* order = order_[static_cast<size_t>(selected_)].get(); order && !order->Has(entryIndex))
            order->Add(entryIndex);
    } else {
        listing_.Replace(rule->firstLine + entry.line, std::move(text));
    }
    entry.changed = 1;
}

void SheetDocument::UnlistDeclaration(int entryIndex) {
    StyleRule* rule = SelectedRule();
    if (!rule || entryIndex < 0 || entryIndex >= kPropertyCount) return;
    PropertyEntry& entry = rule->properties[entryIndex];
    if (!rule->listed || !entry.listed) return;
    modified_ = true;
    ShiftRulesBelow(*rule, -1);
    listing_.Remove(rule->firstLine + entry.line);
    for (PropertyEntry& other : rule->properties)
        if (&other != &entry && other.listed && other.line > entry.line) --other.line;
    --rule->lineCount;
    --rule->lastLine;
    --listingLineCount_;
    entry.listed = 0;
    if (RuleOrder* order = order_[static_cast<size_t>(selected_)].get()) order->Remove(entryIndex);
}

int SheetDocument::FindRule(std::string_view selector) const {
    for (int i = 0; i < RuleCount(); ++i)
        if (EqualsIgnoreCase(rules_[i].selector, selector)) return i;
    return -1;
}

int SheetDocument::AppendRule(std::string_view selector) {
    rules_.emplace_back(selector);
    checked_.push_back(0);
    order_.emplace_back();
    const int index = LastIndex();
    Notify([&](SheetObserver& o) { o.RuleAppended(index); });
    return index;
}

void SheetDocument::RemoveRule(int index) {
    if (!IsValidIndex(index)) return;
    const int keep = selected_;
    selected_ = index;
    UnlistRule();
    rules_.erase(rules_.begin() + index);
    checked_.erase(checked_.begin() + index);
    order_.erase(order_.begin() + index);
    // Text kept after the rule stays where it was: after the rule before it.
    for (SheetItem& item : sheetItems_)
        if (item.after >= index) --item.after;
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
    StyleRule& rule = rules_[index];
    rule.selector.assign(selector);
    if (rule.listed) {
        listing_.Replace(rule.firstLine, rule.selector + "{");
        modified_ = true;
    }
    Notify([&](SheetObserver& o) { o.RuleRenamed(index); });
}

void SheetDocument::ClearRule(int index) {
    if (!IsValidIndex(index)) return;
    const int keep = selected_;
    selected_ = index;
    StyleRule& rule = rules_[index];
    for (int i = 0; i < kPropertyCount; ++i)
        if (rule.properties[i].listed) UnlistDeclaration(i);
    RemoveKeptLines(index);
    const int wasListed = rule.listed;
    rule.ResetToDefaults();
    rule.listed = wasListed;
    selected_ = keep;
}

void SheetDocument::CopyRuleValues(int from, int to) {
    if (!IsValidIndex(from) || !IsValidIndex(to) || from == to) return;
    const int keep = selected_;
    selected_ = to;
    StyleRule& target = rules_[to];
    // The copied entries carry the source's line numbers; take the target's
    // own lines out first and list the copied declarations afresh.
    for (int i = 0; i < kPropertyCount; ++i)
        if (target.properties[i].listed) UnlistDeclaration(i);
    RemoveKeptLines(to);
    target.CopyValuesFrom(rules_[from]);
    for (PropertyEntry& entry : target.properties) entry.listed = 0;
    if (const RuleOrder* source = order_[static_cast<size_t>(from)].get())
        order_[static_cast<size_t>(to)] = std::make_unique<RuleOrder>(*source);
    if (target.listed) ListBody(nullptr);
    selected_ = keep;
}

void SheetDocument::ResetAllRules() {
    listing_.Clear();
    listingLineCount_ = 0;
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

void SheetDocument::AppendRuleText(std::string& out) const {
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
            for (int e = 0; e < kPropertyCount; ++e)
                if (rule.properties[e].listed && !(order && order->Has(e))) declaration(rule.properties[e]);
            out += "}\r\n";
        }
        keptUpTo(static_cast<int>(r));
    }
    keptUpTo(RuleCount());
}

void SheetDocument::LoadSheet(ReadSheet sheet) {
    ResetAllRules();
    keptByRead_ = std::move(sheet.kept);
    for (const std::string& selector : sheet.newSelectors) AppendRule(selector);
    sheetItems_.reserve(sheet.pieces.size() - sheet.rules.size());
    for (ReadSheet::Piece& piece : sheet.pieces) {
        if (piece.rule < 0) {
            SheetItem& item = sheetItems_.emplace_back(std::move(piece.item));
            item.firstLine = listing_.Count();
            const int lines = LineCountOf(item.text);
            listingLineCount_ += lines;
            ForEachLine(item.text, [&](std::string_view line) { listing_.Append(std::string(line)); });
            continue;
        }
        ReadSheet::Rule& read = sheet.rules[static_cast<size_t>(piece.rule)];
        if (!IsValidIndex(read.index)) continue;
        selected_ = read.index;
        StyleRule& rule = rules_[static_cast<size_t>(read.index)];
        // Every rule was reset when the read began and each is read once, so
        // none is listed; should one be all the same, its old lines leave
        // the listing first.
        if (rule.listed) UnlistRule();
        rule.CopyValuesFrom(read.values);
        order_[static_cast<size_t>(read.index)] = std::move(read.order);
        ListSelected(&read.entryOrder);
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
    return ReplaceFileContents(path, StyleSheetText());
}

}  // namespace larkspur
