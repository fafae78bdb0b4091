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
    StartState();
    SetModified(false);
}

void SheetDocument::StartState() {
    rules_.clear();
    rules_.reserve(kTagNames.size());
    for (std::string_view tag : kTagNames) rules_.emplace_back(tag);
    checked_.assign(rules_.size(), 0);
    places_.clear();
    places_.resize(rules_.size());
    contexts_.assign(1, RuleContext{});
    eol_ = "\r\n";
    addedFinalEol_ = false;
    RebuildRuleIndex();
    listing_.Clear();
    selected_ = 0;
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
    // Rules added after a rule read share its order and follow it in list order.
    if (pa.fromFile && pa.order != pb.order) return pa.order < pb.order;
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

int SheetDocument::AppendRule(std::string&& selector, uint64_t hash, RulePlace place) {
    rules_.emplace_back().selector = std::move(selector);
    checked_.push_back(0);
    places_.push_back(std::move(place));
    const int index = LastIndex();
    IndexRule(index, hash);
    Notify([&](SheetObserver& o) { o.RuleAppended(index); });
    return index;
}

int SheetDocument::AppendRuleAfter(int after, std::string_view selector) {
    if (!IsValidIndex(after) || !places_[static_cast<size_t>(after)].placed ||
        !places_[static_cast<size_t>(after)].fromFile)
        return AppendRule(selector);
    // After the rules added after it before.
    for (size_t j = static_cast<size_t>(after) + 1; j < places_.size(); ++j)
        if (places_[j].placed && places_[j].fromFile && places_[j].order == places_[static_cast<size_t>(after)].order)
            after = static_cast<int>(j);
    size_t start = 0, lead = 0, length = 0;
    RegionOf(after, start, lead, length);
    const RulePlace near = places_[static_cast<size_t>(after)];
    const bool ownLine = start + length > near.offset + near.length;
    const std::string indent = listing_.Text().substr(start, lead);
    // On a line of its own with the indent of the rule before it, set out as
    // a rule the editor makes; after a rule that shares its line with
    // others, on that line too. It waits out of the listing at its place.
    RulePlace place;
    place.context = near.context;
    place.order = near.order;
    place.fromFile = place.text = true;
    place.offset = start + length;
    const std::string eol(eol_);
    if (ownLine) {
        const std::string text = std::string(selector) + " {" + eol + indent + "}";
        place.parked = indent + text + eol;
        place.parkedLead = static_cast<uint32_t>(indent.size());
        place.length = text.size();
    } else {
        place.parked = std::string(selector) + " {}";
        place.length = place.parked.size();
    }
    std::string name(selector);
    const uint64_t hash = SelectorHash(name);
    const int index = AppendRule(std::move(name), hash, std::move(place));
    CheckRule(index, true);
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

void SheetDocument::ResetAllRules() {
    StartState();
    Notify([](SheetObserver& o) { o.RulesReset(); });
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
    addedFinalEol_ = sheet.addedFinalEol;
    contexts_ = std::move(sheet.contexts);
    // Room for the rules the sheet adds, so a big sheet is not moved while it
    // is read.
    const size_t total = rules_.size() + sheet.blocks.size();
    rules_.reserve(total);
    checked_.reserve(total);
    places_.reserve(total);
    ReserveRuleIndex(total);
    std::vector<char> filled(rules_.size(), 0);  // per start rule
    uint32_t order = 0;
    for (size_t k = 0; k < sheet.blocks.size(); ++k) {
        FetchSlotAhead(ruleIndex_, sheet.blocks, k);
        ReadSheet::Block& block = sheet.blocks[k];
        int index = block.context != 0 ? -1 : FindRule(block.selector, block.hash);
        if (index >= 0 && static_cast<size_t>(index) < filled.size() && !filled[static_cast<size_t>(index)]) {
            filled[static_cast<size_t>(index)] = 1;
            // A tag rule read is named as the file writes it.
            rules_[static_cast<size_t>(index)].selector = std::move(block.selector);
        } else {
            index = AppendRule(std::move(block.selector), block.hash, RulePlace{.context = block.context});
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

std::string_view SheetDocument::SavedText() const {
    std::string_view text = listing_.Text();
    if (addedFinalEol_ && text.ends_with(eol_)) text.remove_suffix(eol_.size());
    return text;
}

namespace {

// Every CR LF of `text` written as `eol`.
std::string WithLineEnds(std::string_view text, std::string_view eol) {
    std::string out;
    for (size_t at = 0;;) {
        const size_t crlf = text.find("\r\n", at);
        out.append(text.substr(at, crlf - at));
        if (crlf == std::string_view::npos) return out;
        out.append(eol);
        at = crlf + 2;
    }
}

}  // namespace

std::string SheetDocument::BuildStyleBlock() const {
    std::string out = WithLineEnds(kStyleBlockStart, eol_);
    // A byte-order mark is the file's, never the page's; a "</style" in the
    // sheet must not end the element.
    css_scan::AppendInStyleElement(out, WithoutByteOrderMark(SavedText()));
    // The block's end goes on a line of its own.
    if (addedFinalEol_ && !SavedText().empty()) out += eol_;
    out += WithLineEnds(kStyleBlockEnd, eol_);
    return out;
}

IoResult SheetDocument::WriteStyleSheetFile(const std::string& path) const {
    return ReplaceFileContents(path, [this](const ContentPut& put) {
        constexpr size_t kPiece = size_t{1} << 16;
        const std::string_view text = SavedText();
        for (size_t at = 0; at < text.size(); at += kPiece)
            if (!put(std::string_view(text).substr(at, kPiece))) return false;
        return true;
    });
}

}  // namespace larkspur
