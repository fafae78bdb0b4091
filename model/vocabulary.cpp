#include "model/vocabulary.h"

#include <algorithm>

#include "model/text_util.h"

namespace larkspur {

std::string_view FontWeightNameForNumber(long weight) {
    long n = weight / 100;
    if (n < 1) return kFontWeightNames[0];
    if (n > 8) n = 8;
    return kFontWeightNames[static_cast<size_t>(n - 1)];
}

bool IsGenericFamily(std::string_view name) {
    return std::find(kGenericFamiliesReadOrder.begin(), kGenericFamiliesReadOrder.end(), name) !=
           kGenericFamiliesReadOrder.end();
}

bool SplitLength(std::string_view text, std::string& unit, std::string& number) {
    size_t p = 0;
    while (p < text.size() && !IsAsciiLetter(text[p]) && text[p] != '%') ++p;
    number.assign(text.substr(0, p));
    std::string_view suffix = text.substr(p);
    for (std::string_view u : kUnits) {
        if (suffix == u) {
            unit.assign(u);
            return true;
        }
    }
    return false;
}

}  // namespace larkspur
