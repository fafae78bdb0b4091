#include "css/sheet_document.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <utility>

#include "css/css_scan.h"
#include "css/rule_text.h"
#include "model/text_util.h"
#include "model/vocabulary.h"

namespace larkspur {

SheetDocument::SheetDocument() = default;

void SheetDocument::CreateStartRules() {
    rules_.clear();
    rules_.reserve(kTagNames.size());
    for (std::string_view tag : kTagNames) rules_.emplace_back(tag);
    checked_.assign(rules_.size(), 0);
    places_.clear();
    places_.resize(rules_.size());
    contexts_.assign(1, RuleContext{});
    eol_ = "\r\n";
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

// --- the rules' text in the listing

bool SheetDocument::Before(int a, int b) const {
    const RulePlace& pa = places_[static_cast<size_t>(a)];
    const RulePlace& pb = places_[static_cast<size_t>(b)];
    if (pa.fromFile != pb.fromFile) return pa.fromFile;
    if (pa.fromFile) return pa.order < pb.order;
    return a < b;
}

void SheetDocument::ReplaceText(int owner, size_t offset, size_t length, std::string_view text) {
    const auto delta = static_cast<std::ptrdiff_t>(text.size()) - static_cast<std::ptrdiff_t>(length);
    const size_t end = offset + length;
    for (size_t i = 0; i < places_.size(); ++i) {
        RulePlace& other = places_[i];
        if (static_cast<int>(i) == owner || (!other.placed && !other.fromFile)) continue;
        if (other.offset > offset && other.offset < end) {
            other.offset = offset;  // a rule out of the listing whose place went
        } else if (other.offset >= end &&
                   (other.offset > offset || (length == 0 && owner >= 0 && Before(owner, static_cast<int>(i))))) {
            other.offset = static_cast<size_t>(static_cast<std::ptrdiff_t>(other.offset) + delta);
        }
    }
    listing_.ReplaceRange(offset, length, text);
}

size_t SheetDocument::GeneratedOffset(int index) const {
    for (size_t j = static_cast<size_t>(index) + 1; j < places_.size(); ++j)
        if (places_[j].placed && !places_[j].fromFile) return places_[j].offset;
    return listing_.Size();
}

namespace {

// The declarations of a rule written from its values, one a line.
void AppendBody(std::string& out, const StyleRule& rule, std::string_view eol) {
    out += eol;
    for (const PropertyEntry& entry : rule.properties) {
        if (!entry.listed) continue;
        entry.AppendDeclaration(out);
        out += ';';
        out += eol;
    }
}

}  // namespace

std::string SheetDocument::GeneratedText(int index) const { return ComposedText(rules_[static_cast<size_t>(index)]); }

std::string SheetDocument::ComposedText(const StyleRule& rule) const {
    std::string out;
    out.reserve(rule.selector.size() + 64);
    out += rule.selector;
    out += " {";
    AppendBody(out, rule, eol_);
    out += '}';
    out += eol_;
    return out;
}

void SheetDocument::RegionOf(int index, size_t& start, size_t& lead, size_t& length) const {
    const RulePlace& place = places_[static_cast<size_t>(index)];
    const std::string& text = listing_.Text();
    size_t begin = place.offset;
    while (begin > 0 && (text[begin - 1] == ' ' || text[begin - 1] == '\t')) --begin;
    const bool ownLine = begin == 0 || text[begin - 1] == '\n';
    if (!ownLine) begin = place.offset;
    size_t end = place.offset + place.length;
    if (ownLine && place.text) {
        if (text.compare(end, 2, "\r\n") == 0)
            end += 2;
        else if (end < text.size() && text[end] == '\n')
            ++end;
    }
    start = begin;
    lead = place.offset - begin;
    length = end - begin;
}

std::string_view SheetDocument::RuleTextOf(int index) const {
    if (!IsValidIndex(index)) return {};
    const RulePlace& place = places_[static_cast<size_t>(index)];
    if (place.placed) return std::string_view(listing_.Text()).substr(place.offset, place.length);
    if (place.text) return std::string_view(place.parked).substr(place.parkedLead, place.length);
    return {};
}

std::pair<int, int> SheetDocument::RuleLines(int index) const {
    if (!IsValidIndex(index) || !places_[static_cast<size_t>(index)].placed) return {-1, 0};
    const RulePlace& place = places_[static_cast<size_t>(index)];
    const int first = listing_.LineAt(place.offset);
    const int last = listing_.LineAt(place.offset + std::max<size_t>(place.length, 1) - 1);
    return {first, last - first + 1};
}

void SheetDocument::Unplace(int index) {
    RulePlace& place = places_[static_cast<size_t>(index)];
    StyleRule& rule = rules_[static_cast<size_t>(index)];
    if (!place.placed) return;
    if (place.text) {
        size_t start = 0, lead = 0, length = 0;
        RegionOf(index, start, lead, length);
        place.parked = listing_.Text().substr(start, length);
        place.parkedLead = static_cast<uint32_t>(lead);
        place.placed = false;
        ReplaceText(index, start, length, {});
        place.offset = start;
    } else {
        place.placed = false;
        ReplaceText(index, place.offset, place.length, {});
        for (PropertyEntry& entry : rule.properties) entry.listed = 0;
    }
    rule.listed = 0;
    SetModified(true);
}

void SheetDocument::Place(int index) {
    RulePlace& place = places_[static_cast<size_t>(index)];
    StyleRule& rule = rules_[static_cast<size_t>(index)];
    if (place.placed) return;
    if (place.text) {
        const size_t at = place.fromFile ? place.offset : GeneratedOffset(index);
        const std::string parked = std::move(place.parked);
        place.parked.clear();
        ReplaceText(index, at, 0, parked);
        place.offset = at + place.parkedLead;
    } else {
        // An entry changed while the rule was out of the sheet is written now.
        for (PropertyEntry& entry : rule.properties)
            entry.listed = entry.WouldList();
        const std::string text = GeneratedText(index);
        const size_t at = GeneratedOffset(index);
        ReplaceText(index, at, 0, text);
        place.offset = at;
        place.length = text.size();
    }
    place.placed = true;
    rule.listed = 1;
    SetModified(true);
}

template <class Edit>
void SheetDocument::EditText(int index, Edit&& edit) {
    RulePlace& place = places_[static_cast<size_t>(index)];
    if (place.placed) {
        const std::string_view now = std::string_view(listing_.Text()).substr(place.offset, place.length);
        std::string next = edit(now);
        if (next == now) return;
        ReplaceText(index, place.offset, place.length, next);
        place.length = next.size();
        SetModified(true);
    } else if (place.text) {
        std::string next = edit(std::string_view(place.parked).substr(place.parkedLead, place.length));
        place.parked.replace(place.parkedLead, place.length, next);
        place.length = next.size();
    }
}

void SheetDocument::ReplaceRuleText(int index, std::string_view text) {
    EditText(index, [&](std::string_view) { return std::string(text); });
}

void SheetDocument::WriteEntry(int index, int property) {
    const RulePlace& place = places_[static_cast<size_t>(index)];
    if (!place.text) {
        if (place.placed) EditText(index, [&](std::string_view) { return GeneratedText(index); });
        return;
    }
    if (property < 0) return;
    const PropertyEntry& entry = std::as_const(rules_[static_cast<size_t>(index)].properties)[static_cast<size_t>(property)];
    EditText(index, [&](std::string_view text) {
        if (entry.listed) return rule_text::WithDeclaration(text, property, entry.ComposeDeclaration(), eol_);
        // Declarations switched off after the one that goes keep their places.
        if (OffDeclarations& off = places_[static_cast<size_t>(index)].off; !off.empty()) {
            RuleText rule;
            const int gone = rule.Split(text) ? EditedItem(rule.items, property) : -1;
            for (OffDeclaration& later : off.Edit())
                if (gone >= 0 && later.before > static_cast<unsigned>(gone)) --later.before;
        }
        return rule_text::WithoutDeclaration(text, property);
    });
}

// --- listing operations

void SheetDocument::ListRule(int index) {
    if (!IsValidIndex(index) || places_[static_cast<size_t>(index)].placed) return;
    Touch(index);
    Place(index);
}

void SheetDocument::UnlistRule(int index) {
    if (!IsValidIndex(index) || !rules_[static_cast<size_t>(index)].listed) return;
    Touch(index);
    Unplace(index);
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
    const RulePlace& place = places_[static_cast<size_t>(index)];
    PropertyEntry& entry = *found;
    // A rule out of the sheet written from its values only remembers the
    // change; one kept as text has its text edited where it waits.
    if (!place.placed && !place.text) {
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
    entry.listed = 1;
    entry.changed = 1;
    if (place.placed) SetModified(true);
    WriteEntry(index, property);
}

void SheetDocument::RemoveValue(int index, int property) {
    PropertyEntry* found = EntryAt(index, property);
    if (!found || !found->listed) return;
    Touch(index);
    found->listed = 0;
    if (places_[static_cast<size_t>(index)].placed) SetModified(true);
    WriteEntry(index, property);
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

// --- finding rules

namespace {

// Eight bytes with their ASCII small letters made capitals, the other bytes
// as they are.
uint64_t UpperWord(uint64_t w) {
    constexpr uint64_t kOnes = 0x0101010101010101ull, kLow7 = 0x7f7f7f7f7f7f7f7full, kHigh = 0x8080808080808080ull;
    const uint64_t low = w & kLow7;
    const uint64_t fromA = low + kOnes * (0x80 - 'a');  // top bit: at least 'a'
    const uint64_t pastZ = low + kOnes * (0x7f - 'z');  // top bit: past 'z'
    const uint64_t small = fromA & ~pastZ & ~w & kHigh;
    return w ^ (small >> 2);  // 0x80 >> 2 is the case bit
}

}  // namespace

uint64_t SelectorHash(std::string_view selector) {
    // Word by word over the upper-cased bytes, then mixed so that both the
    // low bits (the slot) and the high bits (the tag) depend on every byte.
    constexpr uint64_t kMul = 0x9e3779b97f4a7c15ull;
    uint64_t h = selector.size() * kMul;
    size_t at = 0;
    for (; at + 8 <= selector.size(); at += 8) {
        uint64_t w;
        std::memcpy(&w, selector.data() + at, 8);
        h = (h ^ UpperWord(w)) * kMul;
        h ^= h >> 29;
    }
    if (at < selector.size()) {
        uint64_t w = 0;
        std::memcpy(&w, selector.data() + at, selector.size() - at);
        h = (h ^ UpperWord(w)) * kMul;
    }
    h ^= h >> 33;
    h *= 0xff51afd7ed558ccdull;
    h ^= h >> 33;
    h *= 0xc4ceb9fe1a85ec53ull;
    return h ^ (h >> 33);
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
    // Rules inside at-rules are found through the list, not by selector.
    if (places_[static_cast<size_t>(index)].context != 0) return;
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

int SheetDocument::FindRule(std::string_view selector) const { return FindRule(selector, SelectorHash(selector)); }

int SheetDocument::FindRule(std::string_view selector, uint64_t hash) const {
    if (ruleIndex_.empty()) return -1;
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

void SheetDocument::Reserve(int rules, int /*listingLines*/) {
    rules_.reserve(static_cast<size_t>(rules));
    checked_.reserve(static_cast<size_t>(rules));
    places_.reserve(static_cast<size_t>(rules));
}

// --- rules coming and going

int SheetDocument::AppendRule(std::string_view selector) {
    std::string text(selector);
    const uint64_t hash = SelectorHash(text);
    return AppendRule(std::move(text), hash);
}

int SheetDocument::AppendRule(std::string&& selector, uint64_t hash, uint32_t context) {
    rules_.emplace_back().selector = std::move(selector);
    checked_.push_back(0);
    places_.emplace_back().context = context;
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
    places_.erase(places_.begin() + index);
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
    if (places_[static_cast<size_t>(index)].text)
        EditText(index, [&](std::string_view text) { return rule_text::WithSelector(text, rule.selector); });
    else
        WriteEntry(index, -1);
    Notify([&](SheetObserver& o) { o.RuleRenamed(index); });
}

void SheetDocument::ClearRule(int index) {
    if (!IsValidIndex(index)) return;
    Touch(index);
    StyleRule& rule = rules_[static_cast<size_t>(index)];
    const int wasListed = rule.listed;
    rule.ResetToDefaults();
    rule.listed = wasListed;
    places_[static_cast<size_t>(index)].off = {};
    if (places_[static_cast<size_t>(index)].text)
        EditText(index, [&](std::string_view text) { return rule_text::Cleared(text, eol_); });
    else
        WriteEntry(index, -1);
}

void SheetDocument::CopyRuleValues(int from, int to) {
    if (!IsValidIndex(from) || !IsValidIndex(to) || from == to) return;
    Touch(to);
    StyleRule& target = rules_[static_cast<size_t>(to)];
    const StyleRule& source = rules_[static_cast<size_t>(from)];
    RulePlace& place = places_[static_cast<size_t>(to)];
    const bool sourceText = places_[static_cast<size_t>(from)].text;
    // The body goes across as it stands, text the pages do not edit with it.
    std::string body;
    if (sourceText)
        body = rule_text::Body(RuleTextOf(from));
    target.CopyValuesFrom(source);
    if (sourceText)
        for (int i = 0; i < kPropertyCount; ++i)
            target.properties[static_cast<size_t>(i)].listed = std::as_const(source.properties)[static_cast<size_t>(i)].listed;
    if (!sourceText) {
        const bool written = place.placed || place.text;
        for (PropertyEntry& entry : target.properties)
            entry.listed = written && entry.WouldList();
        if (!place.text) {
            WriteEntry(to, -1);
            return;
        }
        AppendBody(body, target, eol_);
    }
    if (!place.text) {
        // A rule written from its values becomes one kept as text.
        const bool wasPlaced = place.placed;
        if (wasPlaced) Unplace(to);
        place.text = true;
        place.parked = target.selector + " {" + body + "}" + std::string(eol_);
        place.parkedLead = 0;
        place.length = place.parked.size() - eol_.size();  // the line end after "}" is not its text
        if (wasPlaced) Place(to);
        return;
    }
    EditText(to, [&](std::string_view text) { return rule_text::WithBody(text, body); });
}

void SheetDocument::RemoveContextRules() {
    // In one pass: a modern sheet has tens of thousands of them among the rest.
    std::vector<int> removed;
    size_t kept = 0;
    for (size_t i = 0; i < rules_.size(); ++i) {
        if (places_[i].context != 0) {
            removed.push_back(static_cast<int>(i));
            continue;
        }
        if (kept != i) {
            rules_[kept] = std::move(rules_[i]);
            checked_[kept] = checked_[i];
            places_[kept] = std::move(places_[i]);
        }
        ++kept;
    }
    if (removed.empty()) return;
    const int selected = selected_;
    const auto before = std::lower_bound(removed.begin(), removed.end(), selected) - removed.begin();
    const bool selectedGone = before < static_cast<long>(removed.size()) && removed[before] == selected;
    rules_.erase(rules_.begin() + static_cast<long>(kept), rules_.end());
    checked_.resize(kept);
    places_.resize(kept);
    selected_ = selectedGone ? std::min(selected - static_cast<int>(before), LastIndex())
                             : selected - static_cast<int>(before);
    if (selected_ < 0 && !rules_.empty()) selected_ = 0;
    // Last first, so each index is the one the rule had among those still told of.
    for (auto it = removed.rbegin(); it != removed.rend(); ++it) {
        const int index = *it;
        Notify([&](SheetObserver& o) { o.RuleRemoved(index); });
    }
}

void SheetDocument::ResetAllRules() {
    listing_.Clear();
    RemoveContextRules();
    contexts_.assign(1, RuleContext{});
    eol_ = "\r\n";
    for (RulePlace& place : places_) place = RulePlace{};
    RebuildRuleIndex();
    for (int i = 0; i < RuleCount(); ++i) {
        rules_[i].ResetToDefaults();
        if (checked_[i]) {
            checked_[i] = 0;
            Notify([&](SheetObserver& o) { o.RuleCheckChanged(i, false); });
        }
    }
}

// --- taking changes back

bool RuleSnapshot::operator==(const RuleSnapshot& other) const {
    return index == other.index && checked == other.checked && place == other.place && region == other.region &&
           regionStart == other.regionStart && rule.selector == other.rule.selector &&
           rule.listed == other.rule.listed && rule.pageState() == other.rule.pageState() &&
           rule.properties == other.rule.properties;
}

RuleSnapshot SheetDocument::Snapshot(int index) const {
    RuleSnapshot s;
    if (!IsValidIndex(index)) return s;
    s.index = index;
    s.checked = IsChecked(index);
    s.rule = rules_[static_cast<size_t>(index)];
    s.place = places_[static_cast<size_t>(index)];
    if (s.place.placed) {
        size_t start = 0, lead = 0, length = 0;
        RegionOf(index, start, lead, length);
        s.region = listing_.Text().substr(start, length);
        s.regionStart = start;
        s.regionLead = static_cast<uint32_t>(lead);
    }
    return s;
}

// The snapshot's text goes back in at `at` (a rule written from its values:
// at its place among those).
void SheetDocument::PutBack(int index, const RuleSnapshot& s, size_t at) {
    RulePlace& place = places_[static_cast<size_t>(index)];
    place = s.place;
    place.placed = false;
    if (!s.place.placed) {
        if (s.place.fromFile) place.offset = at;
        return;
    }
    const size_t where = place.fromFile ? at : GeneratedOffset(index);
    ReplaceText(index, where, 0, s.region);
    place.offset = where + s.regionLead;
    place.placed = true;
    place.parked.clear();
}

void SheetDocument::RestoreRules(const std::vector<RuleSnapshot>& snapshots) {
    for (const RuleSnapshot& s : snapshots) {
        if (!IsValidIndex(s.index)) continue;
        RulePlace& place = places_[static_cast<size_t>(s.index)];
        StyleRule& rule = rules_[static_cast<size_t>(s.index)];
        if (place.placed && s.place.placed && place.text && s.place.text && place.fromFile) {
            // Text back in place: only the lines that differ change.
            size_t start = 0, lead = 0, length = 0;
            RegionOf(s.index, start, lead, length);
            ReplaceText(s.index, start, length, s.region);
            place = s.place;
            place.offset = start + s.regionLead;
        } else {
            if (place.placed) Unplace(s.index);
            PutBack(s.index, s, place.offset);
        }
        rule = s.rule;
        checked_[static_cast<size_t>(s.index)] = s.checked ? 1 : 0;
        Notify([&](SheetObserver& o) {
            o.RuleRenamed(s.index);
            o.RuleCheckChanged(s.index, s.checked);
        });
    }
    RebuildRuleIndex();  // selectors may have gone back
    SetModified(true);
}

void SheetDocument::InsertRule(const RuleSnapshot& s) {
    if (s.index < 0 || s.index > RuleCount()) return;
    rules_.insert(rules_.begin() + s.index, s.rule);
    checked_.insert(checked_.begin() + s.index, s.checked ? 1 : 0);
    places_.insert(places_.begin() + s.index, RulePlace{});
    PutBack(s.index, s, s.place.placed ? s.regionStart : s.place.offset);
    RebuildRuleIndex();
    if (selected_ >= s.index) ++selected_;
    SetModified(true);
    Notify([&](SheetObserver& o) { o.RuleAppended(s.index); });
}

// --- reading and writing

namespace {

// The index of a big sheet is far larger than the caches: the slot of a
// block a little ahead is fetched while this one is looked up. Inlined at
// once: as a call of its own it would be taken for one without effect.
template <class Slots>
[[gnu::always_inline]] inline void FetchSlotAhead(const Slots& slots, const std::vector<ReadSheet::Block>& blocks, size_t k) {
    constexpr size_t kAhead = 16;
    if (k + kAhead < blocks.size()) __builtin_prefetch(&slots[blocks[k + kAhead].hash & (slots.size() - 1)]);
}

}  // namespace

void SheetDocument::LoadSheet(ReadSheet sheet) {
    ResetAllRules();
    keptByRead_ = std::move(sheet.kept);
    eol_ = sheet.eol;
    contexts_ = std::move(sheet.contexts);
    // Room for the rules the sheet adds, so a big sheet is not moved while it
    // is read; a sheet that only fills rules held moves none of them.
    size_t adds = 0;
    for (size_t k = 0; k < sheet.blocks.size(); ++k) {
        FetchSlotAhead(ruleIndex_, sheet.blocks, k);
        const ReadSheet::Block& block = sheet.blocks[k];
        if (block.context != 0 || FindRule(block.selector, block.hash) < 0) ++adds;
    }
    const size_t total = rules_.size() + adds;
    rules_.reserve(total);
    checked_.reserve(total);
    places_.reserve(total);
    ReserveRuleIndex(total);
    // The k-th block of a selector fills the k-th rule that has it: the rules
    // held that share a selector are chained after the first.
    std::vector<int> next(rules_.size(), -1);
    std::vector<int> tail(rules_.size(), -1);
    for (int i = 0; i < RuleCount(); ++i) {
        const int head = FindRule(rules_[static_cast<size_t>(i)].selector);
        if (head < 0 || head == i) continue;
        int& last = tail[static_cast<size_t>(head)];
        next[static_cast<size_t>(last < 0 ? head : last)] = i;
        last = i;
    }
    std::vector<int> used(rules_.size(), -1);  // per first rule: the last rule of its chain filled
    for (std::vector<int>* chain : {&next, &tail, &used}) chain->reserve(total);
    auto grow = [&] {
        next.push_back(-1);
        tail.push_back(-1);
        used.push_back(-1);
    };
    uint32_t order = 0;
    for (size_t k = 0; k < sheet.blocks.size(); ++k) {
        FetchSlotAhead(ruleIndex_, sheet.blocks, k);
        ReadSheet::Block& block = sheet.blocks[k];
        int index = -1;
        if (block.context != 0) {
            index = AppendRule(std::move(block.selector), block.hash, block.context);
            grow();
        } else if (const int head = FindRule(block.selector, block.hash); head < 0) {
            index = AppendRule(std::move(block.selector), block.hash);
            grow();
            used[static_cast<size_t>(index)] = index;
        } else if (int& last = used[static_cast<size_t>(head)]; last < 0) {
            index = last = head;
        } else if (next[static_cast<size_t>(last)] >= 0) {
            index = last = next[static_cast<size_t>(last)];
        } else {
            const int from = last;
            index = AppendRule(std::move(block.selector), block.hash);
            grow();
            next[static_cast<size_t>(from)] = index;
            used[static_cast<size_t>(head)] = index;
        }
        StyleRule& rule = rules_[static_cast<size_t>(index)];
        rule.listed = 1;  // before the values, whose entries are listed
        rule.TakeValuesFrom(std::move(block.values));
        RulePlace& place = places_[static_cast<size_t>(index)];
        place.offset = block.offset;
        place.length = block.length;
        place.order = order++;
        place.context = block.context;
        place.line = block.line;
        place.fromFile = place.text = place.placed = true;
        checked_[static_cast<size_t>(index)] = 1;
        selected_ = index;
        Notify([&](SheetObserver& o) { o.RuleCheckChanged(index, true); });
    }
    std::vector<ReadSheet::Block>().swap(sheet.blocks);
    listing_.Assign(std::move(sheet.text));
    SetModified(true);
    const int selected = selected_;
    Notify([&](SheetObserver& o) {
        if (IsValidIndex(selected)) o.RuleSelected(selected);
        o.PagesNeedReload();
    });
}

std::string SheetDocument::StyleSheetText() const { return listing_.Text(); }

namespace {

std::string WithLineEnds(std::string_view text, std::string_view eol) {
    if (eol == "\r\n") return std::string(text);
    std::string out;
    for (size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) out += text[i];
    return out;
}

}  // namespace

std::string SheetDocument::BuildStyleBlock() const {
    std::string out = WithLineEnds(kStyleBlockStart, eol_);
    // A byte-order mark is the file's, never the page's; a "</style" in the
    // sheet must not end the element.
    css_scan::AppendInStyleElement(out, WithoutByteOrderMark(listing_.Text()));
    out += WithLineEnds(kStyleBlockEnd, eol_);
    return out;
}

IoResult SheetDocument::WriteStyleSheetFile(const std::string& path) const {
    return ReplaceFileContents(path, [this](const ContentPut& put) {
        constexpr size_t kPiece = size_t{1} << 16;
        const std::string& text = listing_.Text();
        for (size_t at = 0; at < text.size(); at += kPiece)
            if (!put(std::string_view(text).substr(at, kPiece))) return false;
        return true;
    });
}

}  // namespace larkspur
