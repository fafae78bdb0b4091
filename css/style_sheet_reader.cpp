#include "css/style_sheet_reader.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <unordered_map>
#include <vector>

#include "css/css_scan.h"
#include "css/file_kinds.h"
#include "css/html_embed.h"
#include "css/kept_content.h"
#include "css/property_readers.h"
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

std::string_view DropFinalLineEnd(std::string_view text) {
    if (text.ends_with("\r\n")) return text.substr(0, text.size() - 2);
    if (text.ends_with('\n')) return text.substr(0, text.size() - 1);
    return text;
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
        sheet = DropFinalLineEnd(text);
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
    if (size_t comment = sheet.find("<!--"); comment != npos) sheet.remove_prefix(comment + 4);
    return {};
}

namespace {

using css_scan::CloseOpenParts;
using css_scan::FindBlockEnd;
using css_scan::FindStructural;

bool StartsWith(std::string_view text, size_t at, std::string_view what) {
    return text.substr(at, what.size()) == what;
}

size_t SkipBlanks(std::string_view text, size_t at) {
    while (at < text.size() && IsAsciiSpace(text[at])) ++at;
    return at;
}

// One item of a declaration block.
struct BlockItem {
    enum Kind { kDeclaration, kComment, kNested } kind = kDeclaration;
    std::string_view text;  // trimmed, without the ";"
    int entry = -1;         // a declaration the pages edit
    std::string_view value;
    bool open = false;  // the value leaves a string or comment open
};

// The understood declarations are the 41 properties, named exactly, whose
// value the pages can show: "!important" and comments stay as written.
int UnderstoodEntry(std::string_view name, std::string_view value) {
    const int index = PropertyIndexOfName(name);
    if (index < 0) return -1;
    if (value.find('!') != std::string_view::npos || value.find("/*") != std::string_view::npos) return -1;
    return index;
}

void SplitBlock(std::string_view block, std::vector<BlockItem>& items) {
    items.clear();
    for (size_t pos = 0;;) {
        while (pos < block.size() && (IsAsciiSpace(block[pos]) || block[pos] == ';')) ++pos;
        if (pos >= block.size()) return;
        if (StartsWith(block, pos, "/*")) {
            const size_t end = css_scan::SkipComment(block, pos);
            items.push_back({BlockItem::kComment, block.substr(pos, end - pos), -1, {}});
            pos = end;
            continue;
        }
        const size_t stop = FindStructural(block, pos, ";{");
        if (stop != css_scan::npos && block[stop] == '{') {
            const size_t close = FindBlockEnd(block, stop);
            const size_t end = close == css_scan::npos ? block.size() : close + 1;
            items.push_back({BlockItem::kNested, TrimAsciiSpace(block.substr(pos, end - pos)), -1, {}});
            pos = end;
            continue;
        }
        const size_t end = stop == css_scan::npos ? block.size() : stop;
        const std::string_view segment = TrimAsciiSpace(block.substr(pos, end - pos));
        pos = end + 1;
        // A segment without a colon is no declaration, as browsers have it.
        const size_t colon = segment.find(':');
        if (colon == std::string_view::npos) continue;
        const std::string_view name = TrimAsciiSpace(segment.substr(0, colon));
        const std::string_view value = TrimAsciiSpace(segment.substr(colon + 1));
        int entry = UnderstoodEntry(name, value);
        bool open = false;
        if (entry >= 0 && value.find_first_of("\"'\\") != std::string_view::npos) {
            const std::string closed = CloseOpenParts(value);
            open = closed != value;
            // A backslash left at the end (closed with a blank, which the
            // written value would lose) would escape the ";" after it.
            if (closed.ends_with("\\ ")) entry = -1;
        }
        items.push_back({BlockItem::kDeclaration, segment, entry, value, open});
    }
}

// Stores a declaration of the 41, marked set and changed. A value that leaves
// a string open is read closed, as it will be written, so the written sheet
// reads back the same.
PropertyEntry& ReadItemValue(StyleRule& values, const BlockItem& item) {
    PropertyEntry& entry = values.properties[static_cast<size_t>(item.entry)];
    entry.valueSet = 1;
    entry.changed = 1;
    if (item.open)
        ReadPropertyValue(values, item.entry, CloseOpenParts(item.value));
    else
        ReadPropertyValue(values, item.entry, item.value);
    return entry;
}

std::string KeptText(const BlockItem& item) {
    std::string text = CloseOpenParts(item.text);
    if (item.kind == BlockItem::kDeclaration) text += ';';
    return text;
}

void CountKept(const BlockItem& item, KeptCounts& counts) {
    switch (item.kind) {
    case BlockItem::kDeclaration: ++counts.declarations; break;
    case BlockItem::kComment: ++counts.comments; break;
    case BlockItem::kNested: ++counts.nestedRules; break;
    }
}

}  // namespace

void StyleSheetReader::Read(std::string_view sheet) { doc_.LoadSheet(Parse(sheet)); }

ReadSheet StyleSheetReader::Parse(std::string_view sheet) const {
    ReadSheet read;
    const RuleList& existing = doc_.Rules();
    // Rule of each selector, case-blind: the rules held, then the new
    // selectors in order; a slot holds a hash tag and the rule plus one.
    struct Slot {
        uint32_t tag = 0;
        int rulePlusOne = 0;
    };
    std::vector<Slot> slots;
    auto selectorOf = [&](int rule) -> const std::string& {
        return static_cast<size_t>(rule) < existing.size() ? existing[static_cast<size_t>(rule)].selector
                                                           : read.newSelectors[static_cast<size_t>(rule) - existing.size()];
    };
    // The slot of the selector: the first rule with it, or an empty slot.
    auto findSlot = [&](std::string_view selector, uint64_t hash) -> Slot& {
        const auto tag = static_cast<uint32_t>(hash >> 32);
        const size_t mask = slots.size() - 1;
        for (size_t at = hash & mask;; at = (at + 1) & mask) {
            Slot& slot = slots[at];
            if (slot.rulePlusOne == 0 ||
                (slot.tag == tag && EqualsIgnoreCase(selectorOf(slot.rulePlusOne - 1), selector)))
                return slot;
        }
    };
    int ruleCount = 0;
    auto addRule = [&](std::string_view selector, uint64_t hash) {
        Slot& slot = findSlot(selector, hash);
        if (slot.rulePlusOne == 0) slot = {static_cast<uint32_t>(hash >> 32), ruleCount + 1};
        ++ruleCount;
    };
    auto grow = [&](size_t rules) {
        size_t size = 64;
        while (size < rules + rules / 2 + 2) size *= 2;
        if (size <= slots.size()) return;
        slots.assign(size, Slot{});
        const int count = ruleCount;
        ruleCount = 0;
        for (int i = 0; i < count; ++i) addRule(selectorOf(i), SelectorHash(selectorOf(i)));
    };
    grow(existing.size());
    for (const StyleRule& rule : existing) addRule(rule.selector, SelectorHash(rule.selector));

    // First pass: the blocks and the text between them, in file order.
    // A block's declarations; while reading, the block's piece holds the
    // block in `rule` and its rule in `item`.
    std::vector<std::string_view> blocks;
    std::vector<size_t> lastBlock(existing.size(), css_scan::npos);
    int anchor = -1;  // the latest-written rule before this point of the file
    auto keep = [&](std::string closedText) {
        read.pieces.push_back({-1, static_cast<int>(read.items.size())});
        read.items.push_back({anchor, std::move(closedText), 0});
    };
    // Every block opens with a brace: the count of braces bounds the blocks.
    const size_t braces = static_cast<size_t>(std::count(sheet.begin(), sheet.end(), '{'));
    blocks.reserve(braces);
    read.pieces.reserve(braces);
    read.newSelectors.reserve(braces);
    read.newSelectorHashes.reserve(braces);
    lastBlock.reserve(existing.size() + braces);
    grow(existing.size() + braces);
    for (size_t pos = 0;;) {
        pos = SkipBlanks(sheet, pos);
        if (pos >= sheet.size()) break;
        if (StartsWith(sheet, pos, "/*")) {
            const size_t end = css_scan::SkipComment(sheet, pos);
            keep(CloseOpenParts(sheet.substr(pos, end - pos)));
            ++read.kept.comments;
            pos = end;
            continue;
        }
        if (StartsWith(sheet, pos, "<!--") || StartsWith(sheet, pos, "-->")) {
            pos += sheet[pos] == '<' ? 4 : 3;
            continue;
        }
        if (sheet[pos] == '@') {
            size_t nameEnd = pos + 1;
            while (nameEnd < sheet.size() && !IsAsciiSpace(sheet[nameEnd]) &&
                   std::string_view(";{}(\"'/").find(sheet[nameEnd]) == std::string_view::npos)
                ++nameEnd;
            const size_t stop = FindStructural(sheet, pos, ";{");
            size_t end = sheet.size();
            const bool block = stop != css_scan::npos && sheet[stop] == '{';
            if (stop != css_scan::npos) {
                const size_t close = block ? FindBlockEnd(sheet, stop) : stop;
                end = close == css_scan::npos ? sheet.size() : close + 1;
            }
            std::string text = CloseOpenParts(sheet.substr(pos, end - pos));
            if (!block && !text.ends_with(';')) text += ';';
            keep(std::move(text));
            read.kept.CountAtRule(sheet.substr(pos, nameEnd - pos), block);
            pos = end;
            continue;
        }
        const size_t open = FindStructural(sheet, pos, "{");
        if (open == css_scan::npos) break;  // text without a block holds no rule
        std::string selector = CloseOpenParts(TrimAsciiSpace(sheet.substr(pos, open - pos)));
        const size_t close = FindBlockEnd(sheet, open);
        const size_t end = close == css_scan::npos ? sheet.size() : close;  // the end closes an open block
        grow(static_cast<size_t>(ruleCount) + 1);
        const uint64_t hash = SelectorHash(selector);
        Slot& slot = findSlot(selector, hash);
        if (slot.rulePlusOne == 0) {
            slot = {static_cast<uint32_t>(hash >> 32), ruleCount + 1};
            ++ruleCount;
            read.newSelectors.push_back(std::move(selector));
            read.newSelectorHashes.push_back(hash);
            lastBlock.push_back(css_scan::npos);
        }
        const int rule = slot.rulePlusOne - 1;
        lastBlock[static_cast<size_t>(rule)] = blocks.size();
        read.pieces.push_back({static_cast<int>(blocks.size()), rule});
        blocks.push_back(sheet.substr(open + 1, end - open - 1));
        anchor = std::max(anchor, rule);
        pos = end + 1;
    }

    // Second pass: each rule is filled from its last block; text the pages do
    // not edit is kept from every block, in order.
    // Text kept from a rule's earlier blocks, for the few rules that have it.
    std::unordered_map<int, std::vector<std::string>> earlierKept;
    std::vector<BlockItem> items;
    StyleRule values;  // the rule being read; its values go to `read` when done
    read.rules.reserve(static_cast<size_t>(
        std::count_if(lastBlock.begin(), lastBlock.end(), [](size_t b) { return b != css_scan::npos; })));
    // Pieces of blocks that are not a rule's last drop out in place.
    size_t kept = 0;
    auto keepPiece = [&](ReadSheet::Piece& piece) {
        if (&read.pieces[kept] != &piece) read.pieces[kept] = std::move(piece);
        ++kept;
    };
    for (ReadSheet::Piece& piece : read.pieces) {
        if (piece.rule < 0) {
            keepPiece(piece);
            continue;
        }
        const int blockRule = piece.item;
        piece.item = -1;
        SplitBlock(blocks[static_cast<size_t>(piece.rule)], items);
        if (lastBlock[static_cast<size_t>(blockRule)] != static_cast<size_t>(piece.rule)) {
            for (const BlockItem& item : items)
                if (item.entry < 0) {
                    earlierKept[blockRule].push_back(KeptText(item));
                    CountKept(item, read.kept);
                }
            continue;
        }
        auto found = earlierKept.find(blockRule);
        std::vector<std::string> earlier = found == earlierKept.end() ? std::vector<std::string>{} : std::move(found->second);
        ReadSheet::Rule rule;
        rule.index = blockRule;
        const bool keepsText = !earlier.empty() ||
                               std::any_of(items.begin(), items.end(), [](const BlockItem& i) { return i.entry < 0; });
        if (!keepsText) {
            // Only the 41: listed in the order of the file, a repeated
            // property on the line of its first value.
            EntryOrder entryOrder;
            for (const BlockItem& item : items) {
                const PropertyEntry& entry = ReadItemValue(values, item);
                if (!entry.HasAnyValueText())
                    entryOrder.Remove(item.entry);
                else
                    entryOrder.Add(item.entry);
            }
            rule.entryOrderAt = static_cast<uint32_t>(read.entryOrders.size());
            rule.entryOrderCount = entryOrder.size();
            read.entryOrders.insert(read.entryOrders.end(), entryOrder.begin(), entryOrder.end());
        } else {
            // Every declaration keeps its place; a property the pages edit is
            // read from its last occurrence, the earlier ones stay as written.
            rule.order = static_cast<int>(read.orders.size());
            RuleOrder& order = *read.orders.emplace_back(std::make_unique<RuleOrder>());
            order.items.reserve(earlier.size() + items.size());
            for (std::string& text : earlier) order.items.push_back({-1, std::move(text)});
            earlier.clear();
            // A property without a value is no declaration to keep.
            std::erase_if(items, [](const BlockItem& i) { return i.entry >= 0 && i.value.empty(); });
            std::array<size_t, kPropertyCount> last{};
            for (size_t i = 0; i < items.size(); ++i)
                if (items[i].entry >= 0) last[static_cast<size_t>(items[i].entry)] = i + 1;
            for (size_t i = 0; i < items.size(); ++i) {
                const BlockItem& item = items[i];
                if (item.entry >= 0 && last[static_cast<size_t>(item.entry)] == i + 1) {
                    if (ReadItemValue(values, item).HasAnyValueText()) order.Add(item.entry);
                } else {
                    order.items.push_back({-1, KeptText(item)});
                    CountKept(item, read.kept);
                }
            }
        }
        rule.values = values.TakeValues();
        piece.rule = static_cast<int>(read.rules.size());
        read.rules.push_back(std::move(rule));
        keepPiece(piece);
    }
    read.pieces.resize(kept);
    // The reading tables go before the document grows: a big sheet's peak.
    std::vector<std::string_view>().swap(blocks);
    std::vector<size_t>().swap(lastBlock);
    std::vector<Slot>().swap(slots);
    return read;
}

IoResult SheetDocument::ReadStyleSheet(const std::string& path) {
    std::string text;
    if (IoResult r = ReadTextFile(path, text, kBinaryDataMessage); !r) return r;
    std::string_view sheet;
    if (IoResult r = FindSheetText(text, path, sheet); !r) return r;
    ReadSheet read = StyleSheetReader(*this).Parse(sheet);
    std::string().swap(text);  // a big file's text goes before the document grows
    LoadSheet(std::move(read));
    return {};
}

IoResult SheetDocument::ReadStyleSheetText(std::string_view text, std::string_view path) {
    std::string_view sheet;
    if (IoResult r = FindSheetText(text, path, sheet); !r) return r;
    StyleSheetReader(*this).Read(sheet);
    return {};
}

}  // namespace larkspur
