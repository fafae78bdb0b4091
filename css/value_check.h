#pragma once
#include <string>
#include <string_view>

namespace larkspur {

enum class ValueVerdict : unsigned char {
    Valid,    // a browser keeps the declaration, or it cannot be told
    Invalid,  // a browser drops it
    Unknown,  // a property browsers do not know, or another vendor's
};

struct ValueCheck {
    ValueVerdict verdict = ValueVerdict::Valid;
    // When invalid: "display: expected a display keyword, found fixed".
    std::string message;
};

// Whether `value` (without "!important") matches the grammar of `property`.
// Custom properties take anything; a value using var(), env() or attr(), or
// another vendor's keywords and functions, is valid unless it is plainly
// not. The work is bounded: a value too complex to decide comes out valid.
ValueCheck CheckValue(std::string_view property, std::string_view value);

// Whether `value` matches a value definition syntax written out
// ("<length> [ / <length> ]?"); false for a syntax that does not read.
bool MatchesSyntax(std::string_view syntax, std::string_view value);

}  // namespace larkspur
