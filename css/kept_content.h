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

// An at-rule that holds rules, as the blocks inside it show it: its prelude
// ("@media print") under the one around it (0 at the top level).
struct RuleContext {
    uint32_t parent = 0;
    std::string name;
};
// The at-rules around a block, outermost first: "@media screen, @supports
// (display: grid)"; "" at the top level. Past kShownContextLevels the outer
// ones are left out ("..., "), so a label costs the same at any depth.
inline constexpr int kShownContextLevels = 8;
std::string ContextText(const std::vector<RuleContext>& contexts, uint32_t id);

// A sheet as the reader found it, handed to the document in one call: the
// listing's text and every rule block in it, in file order.
struct ReadSheet {
    struct Block {
        std::string selector;
        uint64_t hash = 0;  // SelectorHash of the selector
        StyleRule::Values values;
        size_t offset = 0;  // of the selector in `text`
        size_t length = 0;  // to the closing brace, included
        uint32_t context = 0;  // into `contexts`; 0 at the top level
        uint32_t line = 0;     // in the file, from 1
    };
    std::string text;
    std::string_view eol = "\r\n";
    // The file's last line had no line end: one was added to `text`, so rules
    // can follow, and saving leaves it out again.
    bool addedFinalEol = false;
    std::vector<Block> blocks;
    // The at-rules blocks are inside; the first is the top level.
    std::vector<RuleContext> contexts{RuleContext{}};
    KeptCounts kept;
};

}  // namespace larkspur
