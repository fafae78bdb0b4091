#include "css/style_sheet_reader.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>
#include <vector>

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
    const bool cssFile = EndsWithIgnoreCase(path, "CSS");
    const size_t start = FindIgnoreCase(text, "<STYLE", 0);
    if (start == npos) {
        if (!cssFile) return IoResult::Failure(std::string(kNoStyleTagMessage));
        sheet = DropFinalLineEnd(text);
    } else {
        size_t end = FindIgnoreCase(text, "</STYLE", start + 1);
        if (end == npos) {
            if (!cssFile) return IoResult::Failure(std::string(kNoClosingStyleTagMessage));
            end = text.size();
        }
        std::string_view s = text.substr(start, end - start);
        // A start tag that never closes before the end tag holds no rules.
        size_t tagEnd = s.find('>');
        sheet = tagEnd == npos ? std::string_view{} : s.substr(tagEnd + 1);
    }
    if (size_t comment = sheet.find("<!--"); comment != npos) sheet.remove_prefix(comment + 4);
    return {};
}

void StyleSheetReader::Read(std::string_view sheet) {
    doc_.ResetAllRules();

    // First pass: every complete block, its rule (new selectors are appended
    // in the order they first appear) and the last block of each rule.
    struct LastBlock {
        size_t order = npos;
        size_t begin = 0;
        size_t end = 0;
    };
    // Every block could be a new rule with a declaration per colon.
    const size_t blocks = static_cast<size_t>(std::count(sheet.begin(), sheet.end(), '{'));
    const size_t colons = static_cast<size_t>(std::count(sheet.begin(), sheet.end(), ':'));
    doc_.Reserve(doc_.RuleCount() + static_cast<int>(std::min<size_t>(blocks, INT_MAX / 4)),
                 doc_.GetListing().Count() + static_cast<int>(std::min<size_t>(2 * blocks + colons, INT_MAX / 2)));
    std::vector<LastBlock> last;
    last.reserve(static_cast<size_t>(doc_.RuleCount()) + blocks);
    last.resize(static_cast<size_t>(doc_.RuleCount()));
    size_t order = 0;
    for (size_t pos = 0;;) {
        const size_t open = sheet.find('{', pos);
        if (open == npos) break;
        const size_t close = sheet.find('}', open + 1);
        if (close == npos) break;  // an unclosed block ends the sheet
        const std::string_view selector = TrimAsciiSpace(sheet.substr(pos, open - pos));
        int rule = doc_.FindRule(selector);
        if (rule < 0) {
            rule = doc_.AppendRule(selector);
            last.emplace_back();
        }
        last[static_cast<size_t>(rule)] = {order++, open + 1, close};
        pos = close + 1;
    }

    std::vector<std::pair<size_t, int>> toRead;
    for (size_t i = 0; i < last.size(); ++i)
        if (last[i].order != npos) toRead.emplace_back(last[i].order, static_cast<int>(i));
    std::sort(toRead.begin(), toRead.end());

    for (const auto& [blockOrder, ruleIndex] : toRead) {
        const LastBlock& block = last[static_cast<size_t>(ruleIndex)];
        ReadRule(ruleIndex, sheet.substr(block.begin, block.end - block.begin));
    }

    const int selected = doc_.SelectedIndex();
    doc_.Notify([&](SheetObserver& o) {
        if (doc_.IsValidIndex(selected)) o.RuleSelected(selected);
        o.PagesNeedReload();
    });
}

void StyleSheetReader::ReadRule(int ruleIndex, std::string_view declarations) {
    doc_.SetSelectedIndex(ruleIndex);
    StyleRule& rule = doc_.rules_[static_cast<size_t>(ruleIndex)];
    // Every rule was reset when the read began and each is read once, so it
    // holds its defaults already. Should it be listed all the same, its old
    // lines leave the listing first: the listing must never show lines that
    // the written file would not hold.
    if (rule.listed) {
        doc_.UnlistRule();
        rule.ResetToDefaults();
    }
    doc_.ListRule();
    doc_.checked_[static_cast<size_t>(ruleIndex)] = 1;
    doc_.Notify([&](SheetObserver& o) { o.RuleCheckChanged(ruleIndex, true); });

    const std::string_view d = declarations;
    size_t colon = npos;
    for (size_t pos = 0; pos <= d.size();) {
        // The colon found last time is reused while it lies ahead, so runs of
        // segments without a colon cost no rescans.
        if (colon == npos || colon < pos) colon = d.find(':', pos);
        if (colon == npos) break;  // no declaration left
        const size_t semi = d.find(';', pos);
        const size_t end = semi == npos ? d.size() : semi;
        if (colon < end) {
            const std::string_view name = TrimAsciiSpace(d.substr(pos, colon - pos));
            const int index = PropertyIndexOfName(name);
            if (index >= 0) {
                PropertyEntry& entry = rule.properties[static_cast<size_t>(index)];
                entry.valueSet = 1;
                entry.changed = 1;
                ReadPropertyValue(rule, index, TrimAsciiSpace(d.substr(colon + 1, end - colon - 1)));
                doc_.ListDeclaration(index);
            }
        }
        pos = end + 1;  // a segment without a colon before its ";" is skipped
    }
}

IoResult SheetDocument::ReadStyleSheet(const std::string& path) {
    std::string text;
    if (IoResult r = ReadTextFile(path, text, kBinaryDataMessage); !r) return r;
    return ReadStyleSheetText(text, path);
}

IoResult SheetDocument::ReadStyleSheetText(std::string_view text, std::string_view path) {
    std::string_view sheet;
    if (IoResult r = FindSheetText(text, path, sheet); !r) return r;
    StyleSheetReader(*this).Read(sheet);
    return {};
}

}  // namespace larkspur
