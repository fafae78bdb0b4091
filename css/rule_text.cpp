#include "css/rule_text.h"

#include "css/css_scan.h"
#include "css/property_readers.h"
#include "model/text_util.h"
#include "model/vocabulary.h"

namespace larkspur {
namespace {

bool StartsWith(std::string_view text, size_t at, std::string_view what) {
    return text.substr(at, what.size()) == what;
}

int UnderstoodEntry(std::string_view name, std::string_view value) {
    const int index = PropertyIndexOfName(name);
    if (index < 0) return -1;
    if (value.find('!') != std::string_view::npos || value.find("/*") != std::string_view::npos) return -1;
    return index;
}

// [begin, end) without the blanks at either side.
void Trim(std::string_view text, size_t& begin, size_t& end) {
    while (begin < end && IsAsciiSpace(text[begin])) ++begin;
    while (end > begin && IsAsciiSpace(text[end - 1])) --end;
}

}  // namespace

void SplitBlock(std::string_view block, std::vector<BlockItem>& items) {
    items.clear();
    ForEachBlockItem(block, [&items](const BlockItem& item) { items.push_back(item); });
}

void ForEachBlockItem(std::string_view block, const std::function<void(const BlockItem&)>& take) {
    for (size_t pos = 0;;) {
        while (pos < block.size() && (IsAsciiSpace(block[pos]) || block[pos] == ';')) ++pos;
        if (pos >= block.size()) return;
        if (StartsWith(block, pos, "/*")) {
            const size_t end = css_scan::SkipComment(block, pos);
            take({BlockItem::kComment, pos, end, end, -1, {}});
            pos = end;
            continue;
        }
        const size_t stop = css_scan::FindStructural(block, pos, ";{");
        if (stop != css_scan::npos && block[stop] == '{') {
            const size_t close = css_scan::FindBlockEnd(block, stop);
            const size_t end = close == css_scan::npos ? block.size() : close + 1;
            take({BlockItem::kNested, pos, end, end, -1, {}});
            pos = end;
            continue;
        }
        const size_t end = stop == css_scan::npos ? block.size() : stop;
        size_t begin = pos, last = end;
        Trim(block, begin, last);
        pos = end + 1;
        const std::string_view segment = block.substr(begin, last - begin);
        // A segment without a colon is no declaration, as browsers have it;
        // it stays in the text all the same.
        const size_t colon = segment.find(':');
        BlockItem item{BlockItem::kDeclaration, begin, last, stop == css_scan::npos ? last : stop + 1, -1, {}};
        if (colon != std::string_view::npos) {
            const std::string_view name = TrimAsciiSpace(segment.substr(0, colon));
            item.value = TrimAsciiSpace(segment.substr(colon + 1));
            item.entry = UnderstoodEntry(name, item.value);
            if (item.entry >= 0 && item.value.find_first_of("\"'\\") != std::string_view::npos) {
                const std::string closed = css_scan::CloseOpenParts(item.value);
                item.open = closed != item.value;
                // A backslash left at the end would escape what follows it.
                if (closed.ends_with("\\ ")) item.entry = -1;
            }
        }
        take(item);
    }
}

int EditedItem(const std::vector<BlockItem>& items, int entry) {
    for (size_t i = items.size(); i-- > 0;)
        if (items[i].entry == entry && !items[i].value.empty()) return static_cast<int>(i);
    return -1;
}

bool RuleText::Split(std::string_view text) {
    open = css_scan::FindStructural(text, 0, "{");
    if (open == css_scan::npos) return false;
    close = css_scan::FindBlockEnd(text, open);
    if (close == css_scan::npos) return false;
    size_t begin = 0;
    selectorEnd = open;
    Trim(text, begin, selectorEnd);
    SplitBlock(text.substr(open + 1, close - open - 1), items);
    for (BlockItem& item : items) {
        item.begin += open + 1;
        item.end += open + 1;
        item.stop += open + 1;
    }
    return true;
}

namespace rule_text {
namespace {

// Where the blank before an item starts: after the item before it, or after
// the "{".
size_t BlankBefore(const RuleText& rule, size_t item) {
    return item == 0 ? rule.open + 1 : rule.items[item - 1].stop;
}

std::string Spliced(std::string_view text, size_t from, size_t to, std::string_view with) {
    std::string out;
    out.reserve(text.size() - (to - from) + with.size());
    out.append(text.substr(0, from));
    out.append(with);
    out.append(text.substr(to));
    return out;
}

}  // namespace

std::string WithItem(std::string_view text, const RuleText& rule, size_t item, std::string_view declaration) {
    return Spliced(text, rule.items[item].begin, rule.items[item].end, declaration);
}

std::string WithItemBefore(std::string_view text, const RuleText& rule, size_t item, std::string_view declaration,
                           std::string_view eol) {
    // Set out as the item it goes before: the same line break and indent.
    const size_t begin = rule.items[item].begin;
    const std::string_view blank = text.substr(BlankBefore(rule, item), begin - BlankBefore(rule, item));
    std::string added(declaration);
    added += ';';
    if (const size_t nl = blank.rfind('\n'); nl != std::string_view::npos) {
        added += eol;
        added += blank.substr(nl + 1);
    } else {
        added += blank.empty() ? " " : blank;
    }
    return Spliced(text, begin, begin, added);
}

std::string WithAppended(std::string_view text, const RuleText& rule, std::string_view declaration,
                         std::string_view eol) {
    std::string added;
    size_t where = rule.open + 1;
    if (rule.items.empty()) {
        // An empty block on lines of its own gets the declaration on a line.
        const std::string_view body = text.substr(rule.open + 1, rule.close - rule.open - 1);
        if (body.find('\n') != std::string_view::npos) added = eol;
    } else {
        const size_t last = rule.items.size() - 1;
        const BlockItem& item = rule.items[last];
        where = item.stop;
        if (item.kind == BlockItem::kDeclaration && item.stop == item.end) added = ";";
        // Set out as the last item is: the same line break and indent.
        size_t blank = item.begin;
        const size_t from = BlankBefore(rule, last);
        while (blank > from && IsAsciiSpace(text[blank - 1])) --blank;
        std::string_view lead = text.substr(blank, item.begin - blank);
        if (const size_t nl = lead.rfind('\n'); nl != std::string_view::npos) {
            added += eol;
            added += lead.substr(nl + 1);
        } else {
            added += lead.empty() ? " " : lead;
        }
    }
    added += declaration;
    added += ';';
    return Spliced(text, where, where, added);
}

std::pair<size_t, size_t> ItemExtent(std::string_view text, const RuleText& rule, size_t at) {
    const BlockItem& item = rule.items[at];
    size_t from = item.begin;
    size_t to = item.stop;
    const size_t limit = BlankBefore(rule, at);
    while (from > limit && IsAsciiSpace(text[from - 1])) --from;
    // The first item of a one-line block keeps the blank after the brace and
    // takes the one after it instead.
    if (at == 0 && from == limit && text.substr(from, item.begin - from).find('\n') == std::string_view::npos) {
        from = item.begin;
        while (to < text.size() && (text[to] == ' ' || text[to] == '\t')) ++to;
    }
    return {from, to};
}

std::string WithoutItem(std::string_view text, const RuleText& rule, size_t at) {
    const auto [from, to] = ItemExtent(text, rule, at);
    return Spliced(text, from, to, {});
}

std::string WithDeclaration(std::string_view text, int entry, std::string_view declaration, std::string_view eol) {
    RuleText rule;
    if (!rule.Split(text)) return std::string(text);
    if (const int at = EditedItem(rule.items, entry); at >= 0)
        return WithItem(text, rule, static_cast<size_t>(at), declaration);
    return WithAppended(text, rule, declaration, eol);
}

std::string WithoutDeclaration(std::string_view text, int entry) {
    RuleText rule;
    if (!rule.Split(text)) return std::string(text);
    const int at = EditedItem(rule.items, entry);
    if (at < 0) return std::string(text);
    return WithoutItem(text, rule, static_cast<size_t>(at));
}

std::string WithSelector(std::string_view text, std::string_view selector) {
    RuleText rule;
    if (!rule.Split(text)) return std::string(text);
    return Spliced(text, 0, rule.selectorEnd, selector);
}

std::string Cleared(std::string_view text, std::string_view eol) {
    RuleText rule;
    if (!rule.Split(text)) return std::string(text);
    const std::string_view body = text.substr(rule.open + 1, rule.close - rule.open - 1);
    return Spliced(text, rule.open + 1, rule.close, body.find('\n') != std::string_view::npos ? eol : std::string_view{});
}

std::string_view Body(std::string_view text) {
    RuleText rule;
    if (!rule.Split(text)) return {};
    return text.substr(rule.open + 1, rule.close - rule.open - 1);
}

std::string WithBody(std::string_view text, std::string_view body) {
    RuleText rule;
    if (!rule.Split(text)) return std::string(text);
    return Spliced(text, rule.open + 1, rule.close, body);
}

}  // namespace rule_text
}  // namespace larkspur
