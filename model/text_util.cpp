#include "model/text_util.h"

namespace larkspur {

std::string AsciiUpperCopy(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = AsciiUpper(c);
    return out;
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
    return true;
}

bool StartsWithIgnoreCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && EqualsIgnoreCase(text.substr(0, prefix.size()), prefix);
}

bool EndsWithIgnoreCase(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() &&
           EqualsIgnoreCase(text.substr(text.size() - suffix.size()), suffix);
}

std::string_view TrimAsciiSpace(std::string_view text) {
    size_t b = 0, e = text.size();
    while (b < e && IsAsciiSpace(text[b])) ++b;
    while (e > b && IsAsciiSpace(text[e - 1])) --e;
    return text.substr(b, e - b);
}

}  // namespace larkspur
