// The Declarations page's edits: any declaration of a rule, by row.
#include <algorithm>

#include "css/property_readers.h"
#include "css/rule_text.h"
#include "css/sheet_document.h"
#include "model/text_util.h"

namespace larkspur {
namespace {

// A rule's rows: the declarations of its block merged with the switched-off
// ones at their places.
struct Rows {
    struct Row {
        bool on;
        size_t index;  // on: into rule.items; off: into the off list
    };
    RuleText rule;
    std::vector<Row> rows;

    Rows(std::string_view text, const std::vector<OffDeclaration>& off) {
        if (!rule.Split(text)) rule.items.clear();
        const size_t n = rule.items.size();
        size_t o = 0;
        for (size_t i = 0; i <= n; ++i) {
            while (o < off.size() && (i == n || off[o].before <= i)) rows.push_back({false, o++});
            if (i == n) break;
            const BlockItem& item = rule.items[i];
            // Text without a colon is no declaration; it stays as written.
            if (item.kind == BlockItem::kDeclaration &&
                text.substr(item.begin, item.end - item.begin).find(':') != std::string_view::npos)
                rows.push_back({true, i});
        }
    }
    bool Valid(int row) const { return row >= 0 && static_cast<size_t>(row) < rows.size(); }
    const Row& At(int row) const { return rows[static_cast<size_t>(row)]; }
    std::string_view ItemText(std::string_view text, size_t i) const {
        const BlockItem& item = rule.items[i];
        return text.substr(item.begin, item.end - item.begin);
    }
    // The item a new declaration at this row goes before (past the last row:
    // the count, at the end).
    size_t ItemAt(int row, const std::vector<OffDeclaration>& off) const {
        if (!Valid(row)) return rule.items.size();
        const Row& r = At(row);
        return r.on ? r.index : std::min<size_t>(off[r.index].before, rule.items.size());
    }
};

int EntryOfText(std::string_view text) {
    Declaration d;
    return ParseDeclaration(text, d) ? PropertyIndexOfName(d.name) : -1;
}

// Where the blank before item `i` starts: after the item before it, or the "{".
size_t Anchor(const RuleText& rule, size_t i) { return i == 0 ? rule.open + 1 : rule.items[i - 1].stop; }

// The item taken out of the text, kept with its blank and ";" for its way back.
OffDeclaration TakeOut(std::string_view text, const RuleText& rule, size_t i, std::string& rest) {
    rest = rule_text::WithoutItem(text, rule, i);
    const BlockItem& item = rule.items[i];
    const auto [from, to] = rule_text::ItemExtent(text, rule, i);
    OffDeclaration off;
    off.before = static_cast<unsigned>(i);
    off.gap = static_cast<unsigned>(from - Anchor(rule, i));
    off.lead.assign(text.substr(from, item.begin - from));
    off.text.assign(text.substr(item.begin, item.end - item.begin));
    off.tail.assign(text.substr(item.end, to - item.end));
    return off;
}

// The switched-off declaration back before item `off.before`, as it left.
std::string PutBackIn(std::string_view text, const RuleText& rule, const OffDeclaration& off) {
    const size_t n = rule.items.size();
    const size_t before = std::min<size_t>(off.before, n);
    size_t at = Anchor(rule, before);
    // The gap is what the block's split passes over before an item: blanks
    // and the ";" of empty declarations.
    size_t blank = 0;
    while (at + blank < text.size() && blank < off.gap && (IsAsciiSpace(text[at + blank]) || text[at + blank] == ';'))
        ++blank;
    at += blank;
    std::string in;
    // Edits since may have left it beside a declaration without a ";".
    if (before > 0 && rule.items[before - 1].kind == BlockItem::kDeclaration &&
        rule.items[before - 1].stop == rule.items[before - 1].end)
        in += ';';
    in += off.lead;
    in += off.text;
    in += off.tail;
    if (before < n && off.tail.find(';') == std::string::npos) in += ';';
    std::string out(text.substr(0, at));
    out += in;
    out += text.substr(at);
    return out;
}

// The item `item` of the rule's text switched off: out of the text, into the
// off list at its place. Returns the text without it.
std::string SwitchOff(const std::string& text, std::vector<OffDeclaration>& off, size_t item) {
    RuleText rule;
    if (!rule.Split(text) || item >= rule.items.size()) return text;
    std::string rest;
    OffDeclaration taken = TakeOut(text, rule, item, rest);
    // After the switched-off ones before it, before those after.
    auto it = std::find_if(off.begin(), off.end(), [&](const OffDeclaration& o) { return o.before > item; });
    for (auto later = it; later != off.end(); ++later) --later->before;
    off.insert(it, std::move(taken));
    return rest;
}

// The off list's entry `at` back in the text.
std::string SwitchOn(const std::string& text, std::vector<OffDeclaration>& off, size_t at) {
    RuleText rule;
    if (!rule.Split(text)) rule.items.clear();
    const OffDeclaration back = off[at];
    for (size_t later = at + 1; later < off.size(); ++later) ++off[later].before;
    off.erase(off.begin() + static_cast<long>(at));
    return PutBackIn(text, rule, back);
}

}  // namespace

std::string SheetDocument::CurrentText(int index) const {
    const RulePlace& place = places_[static_cast<size_t>(index)];
    if (place.placed || place.text) return std::string(RuleTextOf(index));
    StyleRule shown(rules_[static_cast<size_t>(index)]);
    for (PropertyEntry& entry : shown.properties) entry.listed = entry.WouldList();
    return ComposedText(shown);
}

void SheetDocument::MakeText(int index) {
    RulePlace& place = places_[static_cast<size_t>(index)];
    if (place.text) return;
    if (place.placed) {
        // The text written from the values ends with a line end, which a
        // rule kept as text leaves outside its text.
        place.length -= std::min(place.length, eol_.size());
        place.text = true;
        return;
    }
    StyleRule& rule = rules_[static_cast<size_t>(index)];
    for (PropertyEntry& entry : rule.properties) entry.listed = entry.WouldList();
    place.parked = ComposedText(rule);
    place.parkedLead = 0;
    place.length = place.parked.size() - eol_.size();
    place.text = true;
}

std::vector<Declaration> SheetDocument::Declarations(int index) const {
    std::vector<Declaration> out;
    if (!IsValidIndex(index)) return out;
    const std::string text = CurrentText(index);
    const std::vector<OffDeclaration>& off = places_[static_cast<size_t>(index)].off.View();
    const Rows rows(text, off);
    for (const Rows::Row& row : rows.rows) {
        Declaration& d = out.emplace_back();
        ParseDeclaration(row.on ? rows.ItemText(text, row.index) : std::string_view(off[row.index].text), d);
        d.on = row.on;
    }
    return out;
}

template <class Edit>
void SheetDocument::EditDeclarations(int index, int row, bool orEnd, Edit&& edit) {
    if (!IsValidIndex(index) || row < 0) return;
    const size_t count = Rows(CurrentText(index), places_[static_cast<size_t>(index)].off.View()).rows.size();
    if (static_cast<size_t>(row) >= count + (orEnd ? 1 : 0)) return;
    Touch(index);
    MakeText(index);
    RulePlace& place = places_[static_cast<size_t>(index)];
    const std::string text(RuleTextOf(index));
    const Rows rows(text, place.off.View());
    std::vector<int> reread;
    const std::string next = edit(text, rows, place.off.Edit(), reread);
    ReplaceRuleText(index, next);
    for (int property : reread) RereadEntry(index, property);
}

void SheetDocument::RereadEntry(int index, int property) {
    if (property < 0 || property >= kPropertyCount) return;
    StyleRule& rule = rules_[static_cast<size_t>(index)];
    RuleText split;
    if (!split.Split(RuleTextOf(index))) return;
    PropertyEntry& entry = rule.properties[static_cast<size_t>(property)];
    const int at = EditedItem(split.items, property);
    if (at < 0) {
        if (!entry.listed) return;
        entry.listed = 0;
        SwitchOffPageState(rule.pageState(), property);
        return;
    }
    entry.value.clear();
    entry.alternate.clear();
    entry.generic.clear();
    entry.valueSet = entry.alternateSet = entry.genericSet = 0;
    ReadItemValue(rule, split.items[static_cast<size_t>(at)]);
}

void SheetDocument::SetDeclaration(int index, int row, const Declaration& d) {
    EditDeclarations(index, row, false, [&](const std::string& text, const Rows& rows, std::vector<OffDeclaration>& off,
                                     std::vector<int>& reread) {
        const Rows::Row at = rows.At(row);
        const std::string written = DeclarationText(d);
        if (!at.on) {
            off[at.index].text = written;
            return text;
        }
        reread = {EntryOfText(rows.ItemText(text, at.index)), PropertyIndexOfName(d.name)};
        return rule_text::WithItem(text, rows.rule, at.index, written);
    });
}

void SheetDocument::InsertDeclaration(int index, int row, const Declaration& d) {
    EditDeclarations(index, row, true, [&](const std::string& text, const Rows& rows, std::vector<OffDeclaration>& off,
                                           std::vector<int>& reread) {
        const size_t item = rows.ItemAt(row, off);
        // The switched-off declarations after the new one keep their places.
        for (size_t r = static_cast<size_t>(row); r < rows.rows.size(); ++r)
            if (const Rows::Row& later = rows.rows[r]; !later.on) ++off[later.index].before;
        reread = {PropertyIndexOfName(d.name)};
        const std::string written = DeclarationText(d);
        return item < rows.rule.items.size() ? rule_text::WithItemBefore(text, rows.rule, item, written, eol_)
                                             : rule_text::WithAppended(text, rows.rule, written, eol_);
    });
}

void SheetDocument::RemoveDeclaration(int index, int row) {
    EditDeclarations(index, row, false, [&](const std::string& text, const Rows& rows, std::vector<OffDeclaration>& off,
                                     std::vector<int>& reread) {
        const Rows::Row at = rows.At(row);
        if (!at.on) {
            off.erase(off.begin() + static_cast<long>(at.index));
            return text;
        }
        for (OffDeclaration& later : off)
            if (later.before > at.index) --later.before;
        reread = {EntryOfText(rows.ItemText(text, at.index))};
        return rule_text::WithoutItem(text, rows.rule, at.index);
    });
}

void SheetDocument::SwitchDeclaration(int index, int row, bool on) {
    EditDeclarations(index, row, false, [&](const std::string& text, const Rows& rows, std::vector<OffDeclaration>& off,
                                     std::vector<int>& reread) {
        const Rows::Row at = rows.At(row);
        if (at.on == on) return text;
        if (!on) {
            reread = {EntryOfText(rows.ItemText(text, at.index))};
            return SwitchOff(text, off, at.index);
        }
        reread = {EntryOfText(off[at.index].text)};
        return SwitchOn(text, off, at.index);
    });
}

}  // namespace larkspur
