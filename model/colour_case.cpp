#include "model/colour_case.h"

namespace larkspur {

namespace {

bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

}  // namespace

void HexCaseTally::Add(std::string_view value) {
    // A shorthand ("1px solid #fff") may carry the colour anywhere in it.
    for (size_t at = value.find('#'); at != std::string_view::npos; at = value.find('#', at)) {
        for (++at; at < value.size() && IsHexDigit(value[at]); ++at) {
            lower_ += value[at] >= 'a';
            upper_ += value[at] >= 'A' && value[at] <= 'F';
        }
    }
}

HexCase HexCaseOf(const RuleList& rules) {
    HexCaseTally tally;
    for (const StyleRule& rule : rules)
        for (const PropertyEntry& entry : rule.properties)
            if (entry.listed) tally.Add(entry.value);
    return tally.Case();
}

std::string ColourText(ColourValue colour, HexCase letters) {
    std::string text = ColourText(colour);
    if (letters == HexCase::Lower)
        for (char& c : text)
            if (c >= 'A' && c <= 'F') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

}  // namespace larkspur
