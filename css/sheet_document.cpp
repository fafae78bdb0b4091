#include "css/sheet_document.h"

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
    RebuildRuleIndex();
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
}

void SheetDocument::ListRule() {
    StyleRule* rule = SelectedRule();
    if (!rule) return;
    rule->firstLine = listing_.Count();
    listing_.Append(rule->selector + "{");
    listing_.Append("}");
    rule->lineCount = rule->lastLine = listing_.Count() - 1 - rule->firstLine;
    listingLineCount_ += 2;
    rule->listed = 1;
    for (PropertyEntry& entry : rule->properties) entry.listed = 0;
    ListChangedDeclarations(*rule);
    modified_ = true;
}

void SheetDocument::UnlistRule() {
    StyleRule* rule = SelectedRule();
    if (!rule || !rule->listed) return;
    const int removed = rule->lastLine + 1;
    for (StyleRule& other : rules_)
        if (&other != rule && other.listed && other.firstLine > rule->firstLine) other.firstLine -= removed;
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
    } else {
        listing_.Replace(rule->firstLine + entry.line, std::move(text));
    }
    entry.changed = 1;
}

// Entries that change while one is listed are not added or removed, so the
// walk over the held entries stays valid.
void SheetDocument::ListChangedDeclarations(StyleRule& rule) {
    for (auto it = rule.properties.begin(); it != rule.properties.end(); ++it)
        if (it->changed) ListDeclaration(it.index());
}

void SheetDocument::UnlistDeclarations(StyleRule& rule) {
    for (auto it = rule.properties.begin(); it != rule.properties.end(); ++it)
        if (it->listed) UnlistDeclaration(it.index());
}

void SheetDocument::UnlistDeclaration(int entryIndex) {
    StyleRule* rule = SelectedRule();
    if (!rule || entryIndex < 0 || entryIndex >= kPropertyCount) return;
    PropertyEntry* held = rule->properties.Find(static_cast<size_t>(entryIndex));
    if (!rule->listed || !held || !held->listed) return;
    PropertyEntry& entry = *held;
    modified_ = true;
    ShiftRulesBelow(*rule, -1);
    listing_.Remove(rule->firstLine + entry.line);
    for (PropertyEntry& other : rule->properties)
        if (&other != &entry && other.listed && other.line > entry.line) --other.line;
    --rule->lineCount;
    --rule->lastLine;
    --listingLineCount_;
    entry.listed = 0;
}

namespace {

uint64_t SelectorHash(std::string_view selector) {
    uint64_t h = 14695981039346656037ull;  // FNV-1a over the upper-cased bytes
    for (char c : selector) h = (h ^ static_cast<unsigned char>(AsciiUpper(c))) * 1099511628211ull;
    return h ^ (h >> 31);
}

}  // namespace

void SheetDocument::RebuildRuleIndex() {
    size_t slots = 64;
    while (slots < rules_.size() + rules_.size() / 2 + 2) slots *= 2;
    ruleIndex_.assign(slots, RuleSlot{});
    for (int i = 0; i < RuleCount(); ++i) IndexRule(i);
}

// A selector already held keeps the earlier rule, which FindRule names.
void SheetDocument::IndexRule(int index) {
    if (ruleIndex_.size() < rules_.size() + rules_.size() / 2 + 2) {
        RebuildRuleIndex();
        return;
    }
    const std::string& selector = rules_[static_cast<size_t>(index)].selector;
    const uint64_t hash = SelectorHash(selector);
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

int SheetDocument::AppendRule(std::string_view selector) {
    rules_.emplace_back(selector);
    checked_.push_back(0);
    const int index = LastIndex();
    IndexRule(index);
    Notify([&](SheetObserver& o) { o.RuleAppended(index); });
    return index;
}

void SheetDocument::Reserve(int rules, int listingLines) {
    rules_.reserve(static_cast<size_t>(rules));
    checked_.reserve(static_cast<size_t>(rules));
    listing_.Reserve(listingLines);
}

void SheetDocument::RemoveRule(int index) {
    if (!IsValidIndex(index)) return;
    const int keep = selected_;
    selected_ = index;
    UnlistRule();
    rules_.erase(rules_.begin() + index);
    checked_.erase(checked_.begin() + index);
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
    StyleRule& rule = rules_[index];
    rule.selector.assign(selector);
    RebuildRuleIndex();
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
    UnlistDeclarations(rule);
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
    UnlistDeclarations(target);
    target.CopyValuesFrom(rules_[from]);
    for (PropertyEntry& entry : target.properties) entry.listed = 0;
    if (target.listed) ListChangedDeclarations(target);
    selected_ = keep;
}

void SheetDocument::ResetAllRules() {
    listing_.Clear();
    listingLineCount_ = 0;
    for (int i = 0; i < RuleCount(); ++i) {
        rules_[i].ResetToDefaults();
        if (checked_[i]) {
            checked_[i] = 0;
            Notify([&](SheetObserver& o) { o.RuleCheckChanged(i, false); });
        }
    }
}

void SheetDocument::AppendRuleText(std::string& out) const {
    // The listing holds the same text, less line ends and header blanks.
    size_t size = out.size();
    for (const std::string& line : listing_.Lines()) size += line.size() + 3;
    out.reserve(size);
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
