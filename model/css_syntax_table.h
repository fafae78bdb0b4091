#pragma once
#include <span>
#include <string_view>

namespace larkspur {

// A property's or a data type's value definition syntax, as CSS writes it
// ("none | <length> [ / <length> ]?"). Type names keep their brackets'
// inside: "color", "rgb()".
struct CssSyntaxEntry {
    std::string_view name;
    std::string_view syntax;
};

// Both sorted by name; generated from a public data set (css_syntax_table.cpp).
std::span<const CssSyntaxEntry> CssPropertySyntaxes();
std::span<const CssSyntaxEntry> CssTypeSyntaxes();

}  // namespace larkspur
