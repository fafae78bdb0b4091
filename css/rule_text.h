#pragma once
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace larkspur {

// One item of a declaration block, by position in the block's text.
struct BlockItem {
    enum Kind { kDeclaration, kComment, kNested } kind = kDeclaration;
    size_t begin = 0;  // the trimmed text, without the ";"
    size_t end = 0;
    size_t stop = 0;  // past the ";" that ends it, if one does; else `end`
    int entry = -1;   // a declaration of one of the 41 the pages edit
    std::string_view value;
    bool open = false;  // the value leaves a string or comment open
};

// The items of a block's body (the text between its braces); positions are
// in `body`. Understood declarations are the 41 properties, named exactly,
// with a value the pages can show: "!important" and comments stay as written.
void SplitBlock(std::string_view body, std::vector<BlockItem>& items);
// The same items handed over one by one, none kept: a block of millions of
// declarations costs no more memory than one.
void ForEachBlockItem(std::string_view body, const std::function<void(const BlockItem&)>& take);

// The index in `items` of the declaration the pages edit for `entry`: its
// last one with a value; -1 if none.
int EditedItem(const std::vector<BlockItem>& items, int entry);

// A rule's text as written: the selector, a block, and whatever follows the
// closing brace (a line end, in a rule the editor wrote).
struct RuleText {
    size_t selectorEnd = 0;  // the selector is text[0, selectorEnd), trimmed
    size_t open = 0;         // "{"
    size_t close = 0;        // "}"
    std::vector<BlockItem> items;  // positions in the whole text

    // False for text that is no closed rule.
    bool Split(std::string_view text);
};

// Edits of a rule's text that change nothing else in it. `eol` is the
// sheet's line end, for lines that must be added.
namespace rule_text {
// The entry's declaration replaced by `declaration` (without ";"), or added
// after the last item, as that item is set out.
std::string WithDeclaration(std::string_view text, int entry, std::string_view declaration, std::string_view eol);
// The entry's declaration taken out with the blank before it; the text as it
// was when there is none.
std::string WithoutDeclaration(std::string_view text, int entry);
// By item (an index into a split RuleText of `text`), for edits of any
// declaration: the item's text replaced, taken out with the blank before it,
// a declaration put before it, or one added after the last item.
std::string WithItem(std::string_view text, const RuleText& rule, size_t item, std::string_view declaration);
std::string WithoutItem(std::string_view text, const RuleText& rule, size_t item);
// What WithoutItem takes out: [first, second).
std::pair<size_t, size_t> ItemExtent(std::string_view text, const RuleText& rule, size_t item);
std::string WithItemBefore(std::string_view text, const RuleText& rule, size_t item, std::string_view declaration,
                           std::string_view eol);
std::string WithAppended(std::string_view text, const RuleText& rule, std::string_view declaration,
                         std::string_view eol);
std::string WithSelector(std::string_view text, std::string_view selector);
// Nothing between the braces but a line end, if there was one.
std::string Cleared(std::string_view text, std::string_view eol);
// What is between the braces.
std::string_view Body(std::string_view text);
std::string WithBody(std::string_view text, std::string_view body);
}  // namespace rule_text

}  // namespace larkspur
