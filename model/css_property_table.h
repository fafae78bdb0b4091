#pragma once
#include <span>
#include <string_view>
#include <vector>

namespace larkspur {

// A CSS property browsers know, for completing names and values.
struct CssPropertyInfo {
    std::string_view name;
    unsigned short firstKeyword;  // into CssKeywordPool()
    unsigned short keywordCount;
    bool colour;  // takes a colour among its values
};

// Sorted by name; generated from a public data set (css_property_table.cpp).
std::span<const CssPropertyInfo> CssProperties();
std::span<const std::string_view> CssKeywordPool();

// The known property of that name (exact, as browsers match names); nullptr
// for custom properties, other vendors' prefixes and typing mistakes.
const CssPropertyInfo* FindCssProperty(std::string_view name);
// The keywords its syntax names, and those every property takes.
std::vector<std::string_view> CssKeywordsOf(std::string_view name);
// Names that start with `prefix` (ASCII case-blind), in name order.
std::vector<std::string_view> CssNamesStartingWith(std::string_view prefix);

}  // namespace larkspur
