#include "css/sheet_document.h"

#include <algorithm>

#include "model/text_util.h"
#include "model/vocabulary.h"

namespace larkspur {

SheetDocument::SheetDocument() = default;

void SheetDocument::CreateStartRules() {
    rules_.clear();
    rules_.reserve(kTagNames.size());
    for (std::string_view tag : kTagNames) rules_.emplace_back(tag);
    checked_.assign(rules_.size(), 0);
    listing_.Clear();
    selected_ = 0;
    modified_ = false;
}

void SheetDocument::SetChecked(int index, bool checked) {
    if (!IsValidIndex(index) || IsChecked(index) == checked) return;
    Touch(index);
    checked_[static_cast<size_t>(index)] = checked ? 1 : 0;
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
}

void SheetDocument::ListRule(int index) {
    if (!IsValidIndex(index)) return;
    Touch(index);
    StyleRule& rule = rules_[static_cast<size_t>(index)];
    rule.firstLine = listing_.Count();
    listing_.Append(rule.selector + "{");
    listing_.Append("}");
    rule.lineCount = 1;
    rule.listed = 1;
    for (int i = 0; i < kPropertyCount; ++i) {
        rule.properties[static_cast<size_t>(i)].listed = 0;
        if (rule.properties[static_cast<size_t>(i)].changed) ListValue(index, i);
    }
    modified_ = true;
}

void SheetDocument::UnlistRule(int index) {
    if (!IsValidIndex(index)) return;
    StyleRule& rule = rules_[static_cast<size_t>(index)];
    if (!rule.listed) return;
    Touch(index);
    const int removed = rule.lineCount + 1;
    for (StyleRule& other : rules_)
        if (&other != &rule && other.listed && other.firstLine > rule.firstLine) other.firstLine -= removed;
    listing_.Remove(rule.firstLine, removed);
    for (PropertyEntry& entry : rule.properties) entry.listed = 0;
    rule.listed = 0;
    modified_ = true;
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
    modified_ = true;
    if (!entry.listed) {
        const int line = rule.firstLine + rule.lineCount;
        ShiftRulesBelow(rule, +1);
        entry.line = rule.lineCount;
        ++rule.lineCount;
        entry.listed = 1;
        listing_.Insert(line, std::move(text));
    } else {
        listing_.Replace(rule.firstLine + entry.line, std::move(text));
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
    modified_ = true;
    ShiftRulesBelow(rule, -1);
    listing_.Remove(rule.firstLine + entry.line);
    for (PropertyEntry& other : rule.properties)
        if (&other != &entry && other.listed && other.line > entry.line) --other.line;
    --rule.lineCount;
    entry.listed = 0;
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
    int& flag = part == FamilyPart::First ? e->valueSet : part == FamilyPart::Second ? e->alternateSet : e->genericSet;
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

int SheetDocument::FindRule(std::string_view selector) const {
    for (int i = 0; i < RuleCount(); ++i)
        if (EqualsIgnoreCase(rules_[i].selector, selector)) return i;
    return -1;
}

int SheetDocument::AppendRule(std::string_view selector) {
    rules_.emplace_back(selector);
    checked_.push_back(0);
    const int index = LastIndex();
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
    if (rule.listed) {
        listing_.Replace(rule.firstLine, rule.selector + "{");
        modified_ = true;
    }
    Notify([&](SheetObserver& o) { o.RuleRenamed(index); });
}

void SheetDocument::ClearRule(int index) {
    if (!IsValidIndex(index)) return;
    Touch(index);
    StyleRule& rule = rules_[static_cast<size_t>(index)];
    for (int i = 0; i < kPropertyCount; ++i)
        if (rule.properties[static_cast<size_t>(i)].listed) RemoveValue(index, i);
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
    for (int i = 0; i < kPropertyCount; ++i)
        if (target.properties[static_cast<size_t>(i)].listed) RemoveValue(to, i);
    target.CopyValuesFrom(rules_[static_cast<size_t>(from)]);
    for (PropertyEntry& entry : target.properties) entry.listed = 0;
    if (target.listed)
        for (int i = 0; i < kPropertyCount; ++i)
            if (target.properties[static_cast<size_t>(i)].changed) ListValue(to, i);
}

void SheetDocument::ResetAllRules() {
    listing_.Clear();
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
           rule.properties == other.rule.properties;
}

RuleSnapshot SheetDocument::Snapshot(int index) const {
    RuleSnapshot s;
    if (!IsValidIndex(index)) return s;
    const StyleRule& rule = rules_[static_cast<size_t>(index)];
    s.index = index;
    s.checked = IsChecked(index);
    s.rule = rule;
    if (rule.listed) {
        s.firstLine = rule.firstLine;
        s.lineCount = rule.lineCount;
        const auto& lines = listing_.Lines();
        s.lines.assign(lines.begin() + rule.firstLine, lines.begin() + rule.firstLine + rule.lineCount + 1);
    }
    return s;
}

void SheetDocument::PlaceBlock(int index, const RuleSnapshot& s) {
    StyleRule& rule = rules_[static_cast<size_t>(index)];
    const int count = static_cast<int>(s.lines.size());
    for (StyleRule& other : rules_)
        if (other.listed && other.firstLine >= s.firstLine) other.firstLine += count;
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
        checked_[static_cast<size_t>(s.index)] = s.checked ? 1 : 0;
        if (s.rule.listed) listed.push_back(&s);
        Notify([&](SheetObserver& o) {
            o.RuleRenamed(s.index);
            o.RuleCheckChanged(s.index, s.checked);
        });
    }
    std::sort(listed.begin(), listed.end(),
              [](const RuleSnapshot* a, const RuleSnapshot* b) { return a->firstLine < b->firstLine; });
    for (const RuleSnapshot* s : listed) PlaceBlock(s->index, *s);
    modified_ = true;
}

void SheetDocument::InsertRule(const RuleSnapshot& s) {
    if (s.index < 0 || s.index > RuleCount()) return;
    rules_.insert(rules_.begin() + s.index, s.rule);
    rules_[static_cast<size_t>(s.index)].listed = 0;
    checked_.insert(checked_.begin() + s.index, s.checked ? 1 : 0);
    if (selected_ >= s.index) ++selected_;
    if (s.rule.listed) PlaceBlock(s.index, s);
    modified_ = true;
    Notify([&](SheetObserver& o) { o.RuleAppended(s.index); });
}

void SheetDocument::AppendRuleText(std::string& out) const {
    for (const StyleRule& rule : rules_) {
        if (!rule.listed) continue;
        out += rule.selector;
        out += " {\r\n";
        for (const PropertyEntry& entry : rule.properties) {
            if (!entry.listed) continue;
            entry.AppendDeclaration(out);
            out += ";\r\n";
        }
        out += "}\r\n";
    }
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
