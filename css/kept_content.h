#pragma once
#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "model/style_rule.h"

namespace larkspur {

// The declarations of a rule in the order the file gave them, kept for a rule
// that holds text the pages do not edit (unknown, vendor or custom
// properties, !important, comments, nested rules): the cascade depends on
// that order. Text items are written back exactly as read.
struct RuleOrder {
    struct Item {
        int entry = -1;  // one of the 41 entries, or -1 for kept text
        std::string text;
        bool operator==(const Item&) const = default;
    };
    std::vector<Item> items;
    uint64_t entries = 0;  // one bit per entry among the items

    bool Has(int entry) const { return (entries >> entry) & 1u; }
    void Add(int entry);
    void Remove(int entry);
    bool operator==(const RuleOrder&) const = default;
};

// Text between rules that the pages do not edit (comments, @media blocks,
// @import ...), written after rule `after` of the rule list (-1: before the
// first). While the sheet is listed its lines start at `firstLine`.
struct SheetItem {
    int after = -1;
    std::string text;
    int firstLine = 0;
};

// What an Open kept as written, for the window to tell the user.
struct KeptCounts {
    size_t declarations = 0;
    size_t comments = 0;
    size_t nestedRules = 0;
    // "@media blocks", "@import statements" ... in order of first appearance.
    std::vector<std::pair<std::string, size_t>> atRules;

    void CountAtRule(std::string_view name, bool block);
    bool Empty() const { return declarations + comments + nestedRules == 0 && atRules.empty(); }
};

// "Kept as written: 1,204 declarations, 12 @media blocks, 40 comments", or
// empty when nothing was kept.
std::string KeptSummary(const KeptCounts& counts);

// Calls `line` for every line of a kept text (line ends taken off).
template <class F>
void ForEachLine(std::string_view text, F&& line) {
    for (size_t start = 0;;) {
        size_t end = text.find('\n', start);
        std::string_view piece = text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
        if (piece.ends_with('\r')) piece.remove_suffix(1);
        line(piece);
        if (end == std::string_view::npos) return;
        start = end + 1;
    }
}
int LineCountOf(std::string_view text);

// The entries of a rule in the order its block listed them, held in place:
// a rule read from a sheet must not allocate for it.
class EntryOrder {
public:
    const unsigned char* begin() const { return at_.data(); }
    const unsigned char* end() const { return at_.data() + count_; }
    unsigned char size() const { return count_; }
    bool Contains(int entry) const { return std::find(begin(), end(), entry) != end(); }
    void Add(int entry) {
        if (!Contains(entry) && count_ < at_.size()) at_[count_++] = static_cast<unsigned char>(entry);
    }
    void Remove(int entry) {
        unsigned char* last = std::remove(at_.data(), at_.data() + count_, static_cast<unsigned char>(entry));
        count_ = static_cast<unsigned char>(last - at_.data());
    }

private:
    std::array<unsigned char, kPropertyCount> at_{};
    unsigned char count_ = 0;
};

// A sheet as the reader found it, handed to the document in one call.
struct ReadSheet {
    struct Rule {
        StyleRule::Values values;
        int index = 0;  // in the rule list, the new selectors appended
        int order = -1;  // into ReadSheet::orders, only when the rule keeps text
        // Listing order of the entries read: entryOrderCount bytes of
        // ReadSheet::entryOrders from entryOrderAt.
        uint32_t entryOrderAt = 0;
        unsigned char entryOrderCount = 0;
    };
    // In file order: a rule's block (rule >= 0, index into `rules`) or text
    // between rules (index into `items`).
    struct Piece {
        int rule = -1;
        int item = -1;
    };
    std::vector<std::string> newSelectors;
    std::vector<uint64_t> newSelectorHashes;  // SelectorHash of each
    std::vector<Rule> rules;
    std::vector<SheetItem> items;
    std::vector<Piece> pieces;
    std::vector<unsigned char> entryOrders;
    std::vector<std::unique_ptr<RuleOrder>> orders;

    std::span<const unsigned char> EntryOrderOf(const Rule& rule) const {
        return {entryOrders.data() + rule.entryOrderAt, rule.entryOrderCount};
    }
    KeptCounts kept;
};

}  // namespace larkspur
