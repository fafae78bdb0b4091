#include "css/style_sheet_reader.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "css/css_scan.h"
#include "css/file_kinds.h"
#include "css/html_embed.h"
#include "css/kept_content.h"
#include "css/property_readers.h"
#include "css/rule_text.h"
#include "css/sheet_document.h"
#include "model/text_util.h"
#include "model/vocabulary.h"

namespace larkspur {
namespace {

constexpr size_t npos = std::string_view::npos;

// Position of an upper-case ASCII needle in the text, ignoring case.
size_t FindIgnoreCase(std::string_view text, std::string_view upperNeedle, size_t from) {
    if (upperNeedle.empty() || from > text.size()) return npos;
    const char first = upperNeedle.front();
    while (from + upperNeedle.size() <= text.size()) {
        const void* hit = std::memchr(text.data() + from, first, text.size() - from);
        if (!hit) return npos;
        size_t at = static_cast<size_t>(static_cast<const char*>(hit) - text.data());
        if (at + upperNeedle.size() > text.size()) return npos;
        size_t i = 1;
        while (i < upperNeedle.size() && AsciiUpper(text[at + i]) == upperNeedle[i]) ++i;
        if (i == upperNeedle.size()) return at;
        from = at + 1;
    }
    return npos;
}

size_t SkipBlanksFrom(std::string_view text, size_t at) {
    while (at < text.size() && IsAsciiSpace(text[at])) ++at;
    return at;
}

}  // namespace

IoResult FindSheetText(std::string_view text, std::string_view path, std::string_view& sheet) {
    sheet = {};
    if (std::memchr(text.data(), '\0', text.size())) return IoResult::Failure(std::string(kBinaryDataMessage));
    const bool cssFile = IsStyleSheetFileName(path);
    // A page's sheet is in its first real style element; one inside a comment
    // or a script is not the page's, and placing a block skips it too.
    const size_t start = cssFile ? FindIgnoreCase(text, "<STYLE", 0) : FirstStyleTag(text);
    if (start == npos) {
        if (!cssFile) return IoResult::Failure(std::string(kNoStyleTagMessage));
        sheet = text;
    } else {
        size_t end = FindIgnoreCase(text, "</STYLE", start + 1);
        if (end == npos) {
            if (!cssFile) return IoResult::Failure(std::string(kNoClosingStyleTagMessage));
            end = text.size();
        }
        // The start tag ends as the page scanner ends it (a quoted value may
        // hold ">"); one that never closes before the end tag holds no rules.
        const size_t tagEnd = TagEnd(text.substr(0, end), start + 6);
        sheet = tagEnd == npos ? std::string_view{} : text.substr(tagEnd, end - tagEnd);
    }
    // A page's sheet is set off by blanks and "<!--" ... "-->"; the blanks go,
    // so the block written back holds the sheet as it was.
    const bool inPage = start != npos;
    if (inPage) sheet = TrimAsciiSpace(sheet);
    if (const size_t first = SkipBlanksFrom(sheet, 0); sheet.substr(first, 4) == "<!--") {
        sheet.remove_prefix(first + 4);
        if (inPage) sheet = TrimAsciiSpace(sheet);
    }
    return {};
}

namespace {

using css_scan::FindBlockEnd;
using css_scan::FindStructural;

bool StartsWith(std::string_view text, size_t at, std::string_view what) {
    return text.substr(at, what.size()) == what;
}

// Stores a declaration of the 41, marked set, changed and listed. A value
// that leaves a string open is read closed, as the pages will show it.
void CountKept(const BlockItem& item, KeptCounts& counts) {
    switch (item.kind) {
    case BlockItem::kDeclaration: ++counts.declarations; break;
    case BlockItem::kComment: ++counts.comments; break;
    case BlockItem::kNested: ++counts.nestedRules; break;
    }
}

// At-rules whose block holds rules, each a rule of its own in the sheet.
bool GroupsRules(std::string_view name) {
    for (std::string_view group : {"@media", "@supports", "@container", "@layer", "@document", "@-moz-document",
                                   "@scope", "@starting-style"})
        if (EqualsIgnoreCase(name, group)) return true;
    return false;
}

// One blank for every run of blanks.
std::string Collapsed(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : TrimAsciiSpace(text)) {
        if (IsAsciiSpace(c)) {
            if (!out.empty() && out.back() != ' ') out += ' ';
        } else {
            out += c;
        }
    }
    return out;
}

// Walks the sheet once, copying it into the listing's text (less the "<!--"
// and "-->" that only hide a sheet from old browsers) and noting every rule
// block, also those inside @media and its kind.
class SheetScanner {
public:
    SheetScanner(std::string_view sheet, ReadSheet& read) : src_(sheet), read_(read) {}

    // False when the text ends inside a block, comment or statement: the
    // caller closes it and reads again, so the rules it adds later are not
    // swallowed.
    bool Scan() {
        const std::string_view text = src_;
        // The contexts of the grouping at-rules the scan is in, innermost
        // last: a loop, not a call a level, so any depth costs the same.
        std::vector<uint32_t> groups;
        // A byte-order mark is the file's, not the first selector's: it stays
        // in the text, in front of everything.
        size_t pos = text.starts_with(kUtf8Bom) ? kUtf8Bom.size() : 0;
        for (;;) {
            while (pos < text.size() && IsAsciiSpace(text[pos])) ++pos;
            if (pos >= text.size()) {
                if (!groups.empty()) open_ = true;
                break;
            }
            const bool top = groups.empty();
            const uint32_t context = top ? 0 : groups.back();
            if (!top && text[pos] == '}') {
                groups.pop_back();
                ++pos;
                continue;
            }
            if (StartsWith(text, pos, "/*")) {
                const size_t close = css_scan::SkipComment(text, pos);
                if (!text.substr(0, close).ends_with("*/") || close < pos + 4) open_ = true;
                ++read_.kept.comments;
                pos = close;
                continue;
            }
            if (top && (StartsWith(text, pos, "<!--") || StartsWith(text, pos, "-->"))) {
                const size_t to = pos + (text[pos] == '<' ? 4 : 3);
                Drop(pos, to);
                pos = to;
                continue;
            }
            if (text[pos] == '@') {
                pos = AtRule(text, pos, groups);
                continue;
            }
            // Inside a group, its "}" ends text without a block.
            const size_t brace = FindStructural(text, pos, top ? "{" : "{}");
            if (brace == css_scan::npos) {
                // Text without a block holds no rule; at the end of the sheet
                // it would run into rules added later, so it goes.
                if (top) Drop(pos, text.size());
                open_ = open_ || !top;
                break;
            }
            if (text[brace] == '}') {
                pos = brace;
                continue;
            }
            const size_t close = FindBlockEnd(text, brace);
            if (close == css_scan::npos) {
                open_ = true;
                break;
            }
            Block(text, pos, brace, close, context);
            pos = close + 1;
        }
        read_.text.append(src_.substr(copied_));
        return !open_;
    }
    bool StatementOpen() const { return statementOpen_; }

private:
    size_t Out(size_t at) const { return read_.text.size() + (at - copied_); }
    void Drop(size_t from, size_t to) {
        read_.text.append(src_.substr(copied_, from - copied_));
        copied_ = to;
    }
    uint32_t LineOf(size_t at) {
        line_ += static_cast<uint32_t>(CountByte(src_.substr(lineAt_, at - lineAt_), '\n'));
        lineAt_ = at;
        return line_;
    }
    // A context is its at-rule's prelude under its parent's: kept once each,
    // so deep nesting costs no more than the text of its preludes. Found by
    // a hash of both in an open-addressed table at most half full.
    uint32_t ContextOf(uint32_t parent, std::string_view prelude) {
        std::string name = Collapsed(prelude);
        const auto hash = static_cast<uint32_t>(((std::hash<std::string_view>{}(name) ^ parent) * 0x9E3779B97F4A7C15ull) >> 32);
        if (2 * read_.contexts.size() >= contextSlots_.size()) GrowContextSlots();
        const size_t mask = contextSlots_.size() - 1;
        for (size_t i = hash & mask;; i = (i + 1) & mask) {
            auto& [slotHash, id] = contextSlots_[i];
            if (id == 0) {
                slotHash = hash;
                id = static_cast<uint32_t>(read_.contexts.size());
                read_.contexts.push_back({parent, std::move(name)});
                return id;
            }
            if (slotHash == hash && read_.contexts[id].parent == parent && read_.contexts[id].name == name) return id;
        }
    }
    void GrowContextSlots() {
        std::vector<std::pair<uint32_t, uint32_t>> old(std::max<size_t>(64, contextSlots_.size() * 2));
        old.swap(contextSlots_);
        const size_t mask = contextSlots_.size() - 1;
        for (const auto& slot : old) {
            if (slot.second == 0) continue;
            size_t i = slot.first & mask;
            while (contextSlots_[i].second != 0) i = (i + 1) & mask;
            contextSlots_[i] = slot;
        }
    }

    // Past the at-rule at pos. A grouping one's block is entered: its context
    // goes on `groups`, and the scan reads the rules in it.
    size_t AtRule(std::string_view text, size_t pos, std::vector<uint32_t>& groups) {
        const bool top = groups.empty();
        size_t nameEnd = pos + 1;
        while (nameEnd < text.size() && !IsAsciiSpace(text[nameEnd]) &&
               std::string_view(";{}(\"'/").find(text[nameEnd]) == std::string_view::npos)
            ++nameEnd;
        const std::string_view name = text.substr(pos, nameEnd - pos);
        const size_t stop = FindStructural(text, pos, top ? ";{" : ";{}");
        if (stop == css_scan::npos || text[stop] == '}') {
            // A statement cut off by the end of the text (or of its block).
            read_.kept.CountAtRule(name, false);
            if (stop != css_scan::npos) return stop;
            statementOpen_ = top;
            open_ = true;
            return text.size();
        }
        if (text[stop] == ';') {
            read_.kept.CountAtRule(name, false);
            return stop + 1;
        }
        read_.kept.CountAtRule(name, true);
        if (GroupsRules(name)) {
            groups.push_back(ContextOf(top ? 0 : groups.back(), text.substr(pos, stop - pos)));
            return stop + 1;
        }
        const size_t close = FindBlockEnd(text, stop);
        if (close == css_scan::npos) {
            open_ = true;
            return text.size();
        }
        return close + 1;
    }

    void Block(std::string_view text, size_t pos, size_t brace, size_t close, uint32_t context) {
        ReadSheet::Block& block = read_.blocks.emplace_back();
        block.selector = TrimAsciiSpace(text.substr(pos, brace - pos));
        block.hash = SelectorHash(block.selector);
        block.offset = Out(pos);
        block.length = close + 1 - pos;
        block.context = context;
        block.line = LineOf(pos);
        // The declaration the pages edit for a property is its last with a
        // value (as EditedItem has it); every other item is kept as written.
        size_t count = 0;
        ForEachBlockItem(text.substr(brace + 1, close - brace - 1), [this, &count](const BlockItem& item) {
            const size_t index = count++;
            if (item.entry < 0 || item.value.empty()) return CountKept(item, read_.kept);
            const auto entry = static_cast<size_t>(item.entry);
            if (edited_.size() <= entry) edited_.resize(entry + 1);
            if (edited_[entry].first != 0) CountKept(edited_[entry].second, read_.kept);
            edited_[entry] = {index + 1, item};
        });
        picked_.clear();
        for (auto& [at, item] : edited_)
            if (at != 0) picked_.push_back({std::exchange(at, 0), item});
        std::sort(picked_.begin(), picked_.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
        for (const auto& [at, item] : picked_) ReadItemValue(values_, item);
        block.values = values_.TakeValues();
    }

    std::string_view src_;
    ReadSheet& read_;
    size_t copied_ = 0;
    size_t lineAt_ = 0;
    uint32_t line_ = 1;
    bool open_ = false;
    bool statementOpen_ = false;
    // By property: the last item with a value so far (its index + 1, 0 for
    // none), then those found in item order.
    std::vector<std::pair<size_t, BlockItem>> edited_, picked_;
    StyleRule values_;
    // Hash and id of each context but the top level's (id 0 marks a free slot).
    std::vector<std::pair<uint32_t, uint32_t>> contextSlots_;
};

// The first line end's kind; CR LF for a sheet of one line.
std::string_view LineEndOf(std::string_view text) {
    const size_t nl = text.find('\n');
    const size_t cr = text.find('\r');
    if (nl == std::string_view::npos) return cr == std::string_view::npos ? "\r\n" : "\r";
    if (cr == std::string_view::npos || cr > nl) return "\n";
    return cr + 1 == nl ? "\r\n" : "\r";
}

}  // namespace

void StyleSheetReader::Read(std::string_view sheet) { doc_.LoadSheet(Parse(sheet)); }

namespace {

// A sheet that ends where its file ends keeps that file's last line as it is;
// one in a page ends before the page's end tag and is written back with a
// line end before it.
bool ReachesTheEnd(std::string_view file, std::string_view sheet) {
    return sheet.data() + sheet.size() == file.data() + file.size();
}

}  // namespace

ReadSheet StyleSheetReader::Parse(std::string_view sheet) const {
    ReadSheet read;
    // Every block opens with a brace: the count of braces bounds the blocks.
    read.blocks.reserve(CountByte(sheet, '{'));
    read.text.reserve(sheet.size() + 2);
    if (!SheetScanner(sheet, read).Scan()) {
        // Closed as a browser closes it at the end of the text, then read
        // again; rules written after it stay rules of their own.
        const size_t blocks = read.blocks.capacity();
        read = ReadSheet{};  // the first reading goes before the second grows
        std::string closed = css_scan::CloseOpenParts(sheet);
        read.blocks.reserve(blocks);
        read.text.reserve(closed.size() + 2);
        SheetScanner scanner(closed, read);
        if (!scanner.Scan() && scanner.StatementOpen()) read.text += ';';
    }
    // A sheet of blanks holds nothing to keep.
    if (TrimAsciiSpace(read.text).empty()) read.text.clear();
    read.eol = LineEndOf(read.text);
    if (!read.text.empty() && read.text.back() != read.eol.back()) {
        read.text += read.eol;
        read.addedFinalEol = true;
    }
    return read;
}

IoResult SheetDocument::ReadStyleSheet(const std::string& path) {
    std::string text;
    if (IoResult r = ReadTextFile(path, text, kBinaryDataMessage); !r) return r;
    std::string_view sheet;
    if (IoResult r = FindSheetText(text, path, sheet); !r) return r;
    ReadSheet read = StyleSheetReader(*this).Parse(sheet);
    if (!ReachesTheEnd(text, sheet)) read.addedFinalEol = false;
    std::string().swap(text);  // a big file's text goes before the document grows
    LoadSheet(std::move(read));
    return {};
}

IoResult SheetDocument::ReadStyleSheetText(std::string_view text, std::string_view path) {
    std::string_view sheet;
    if (IoResult r = FindSheetText(text, path, sheet); !r) return r;
    ReadSheet read = StyleSheetReader(*this).Parse(sheet);
    if (!ReachesTheEnd(text, sheet)) read.addedFinalEol = false;
    LoadSheet(std::move(read));
    return {};
}

}  // namespace larkspur
