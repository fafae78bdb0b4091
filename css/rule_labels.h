#pragma once
#include <cstdint>
#include <string>
#include <unordered_map>

namespace larkspur {

class SheetDocument;

// How the rule list names a rule: its selector on one line, the at-rules it
// is inside, and, for a selector the file writes in several blocks, the line
// of this block, so "a (@media print)" and "input (line 120)" tell blocks apart.
class RuleLabels {
public:
    // Notes the selectors the file read writes more than once in one context.
    void Count(const SheetDocument& doc);
    std::string Label(const SheetDocument& doc, int index) const;

private:
    static uint64_t Key(const SheetDocument& doc, int index);
    // By a hash of the context and the case-blind selector: a collision only
    // shows a line that was not needed.
    std::unordered_map<uint64_t, uint32_t> blocks_;
};

// The selector with every run of white space as one space, trimmed.
std::string OneLine(std::string_view selector);

}  // namespace larkspur
