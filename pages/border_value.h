#pragma once
#include <string>
#include <string_view>

namespace larkspur {

// A border side's shorthand: width, style and colour in that order, single
// blanks between them, empty parts left out ("thin dashed", "1em solid #00FF00").
std::string JoinBorderParts(std::string_view width, std::string_view style, std::string_view colour);

}  // namespace larkspur
