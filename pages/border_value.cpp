#include "pages/border_value.h"

namespace larkspur {

std::string JoinBorderParts(std::string_view width, std::string_view style, std::string_view colour) {
    std::string result(width);
    for (std::string_view part : {style, colour}) {
        if (part.empty()) continue;
        if (!result.empty()) result += ' ';
        result += part;
    }
    return result;
}

}  // namespace larkspur
