#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace larkspur {

// Red in the low byte, green in the second, blue in the third; top byte zero.
using ColourValue = std::uint32_t;

constexpr ColourValue MakeColour(unsigned red, unsigned green, unsigned blue) {
    return (red & 0xFFu) | ((green & 0xFFu) << 8) | ((blue & 0xFFu) << 16);
}
constexpr unsigned RedOf(ColourValue c) { return c & 0xFFu; }
constexpr unsigned GreenOf(ColourValue c) { return (c >> 8) & 0xFFu; }
constexpr unsigned BlueOf(ColourValue c) { return (c >> 16) & 0xFFu; }

// "#RRGGBB" with upper-case digits: the form every colour button writes.
std::string ColourText(ColourValue colour);

// Reads "#RRGGBB", "#RGB", "RGB(r,g,b)" in any case, or one of the sixteen
// colour names (case-sensitive). Anything else, and malformed parts, give 0.
ColourValue ColourFromText(std::string_view text);

// True for texts that a border shorthand should take as its colour part.
bool IsColourText(std::string_view text);

}  // namespace larkspur
