#pragma once
#include <string>
#include <string_view>

#include "model/colour.h"
#include "model/style_rule.h"

namespace larkspur {

// The letter case of the hex digits in "#rrggbb" colours.
enum class HexCase { Upper, Lower };

// Counts the hex colours' letters in values as they go by.
class HexCaseTally {
public:
    void Add(std::string_view value);
    // Lower only where lower-case letters are the more; the program's own
    // form (upper case) otherwise, a sheet without hex letters included.
    HexCase Case() const { return lower_ > upper_ ? HexCase::Lower : HexCase::Upper; }

private:
    long long lower_ = 0;
    long long upper_ = 0;
};

// The case of the colours the rules have in the listing.
HexCase HexCaseOf(const RuleList& rules);

// ColourText in the given case.
std::string ColourText(ColourValue colour, HexCase letters);

}  // namespace larkspur
