#include "model/colour.h"

#include <cstdio>

#include "model/text_util.h"
#include "model/vocabulary.h"

namespace larkspur {
namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Hexadecimal number at the front of the text; stops at the first non-digit.
unsigned HexPrefix(std::string_view text) {
    unsigned v = 0;
    for (char c : text) {
        int d = HexDigit(c);
        if (d < 0) break;
        v = (v << 4) | unsigned(d);
        v &= 0xFFFFu;  // only the low byte is kept; stay clear of overflow
    }
    return v;
}

// Integer whose base follows its prefix (0x hex, 0 octal, else decimal),
// leading blanks skipped, stopping at the first character that does not fit.
long long PrefixedInteger(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && IsAsciiSpace(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    int base = 10;
    if (i < text.size() && text[i] == '0') {
        if (i + 2 < text.size() && (text[i + 1] == 'x' || text[i + 1] == 'X') &&
            HexDigit(text[i + 2]) >= 0) {
            base = 16;
            i += 2;
        } else {
            base = 8;
        }
    }
    unsigned long long v = 0;
    for (; i < text.size(); ++i) {
        int d = HexDigit(text[i]);
        if (d < 0 || d >= base) break;
        v = v * unsigned(base) + unsigned(d);
        v &= 0xFFFFFFFFull;  // the low byte is all that survives
    }
    return negative ? -static_cast<long long>(v) : static_cast<long long>(v);
}

std::string_view Part(std::string_view text, size_t pos, size_t len) {
    if (pos >= text.size()) return {};
    return text.substr(pos, len);
}

}  // namespace

std::string ColourText(ColourValue colour) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "#%.2X%.2X%.2X", RedOf(colour), GreenOf(colour), BlueOf(colour));
    return buf;
}

ColourValue ColourFromText(std::string_view text) {
    if (!text.empty() && text[0] == '#') {
        unsigned r, g, b;
        if (text.size() == 7) {
            r = HexPrefix(Part(text, 1, 2));
            g = HexPrefix(Part(text, 3, 2));
            b = HexPrefix(Part(text, 5, 2));
        } else {
            auto doubled = [&](size_t pos) {
                std::string_view d = Part(text, pos, 1);
                if (d.empty()) return 0u;
                char pair[2] = {d[0], d[0]};
                return HexPrefix(std::string_view(pair, 2));
            };
            r = doubled(1);
            g = doubled(2);
            b = doubled(3);
        }
        return MakeColour(r, g, b);
    }
    for (size_t i = 0; i < kColourNames.size(); ++i)
        if (text == kColourNames[i]) return kColourValues[i];

    std::string upper = AsciiUpperCopy(text);
    size_t start = upper.find("RGB(");
    if (start == std::string::npos) return 0;
    start += 4;
    size_t close = upper.find(')', start);
    std::string_view inner = std::string_view(upper).substr(start, close == std::string::npos ? std::string::npos : close - start);
    size_t c1 = inner.find(',');
    size_t c2 = c1 == std::string_view::npos ? std::string_view::npos : inner.find(',', c1 + 1);
    std::string_view red = inner.substr(0, c1);
    std::string_view green = c1 == std::string_view::npos ? std::string_view{} : inner.substr(c1 + 1, c2 == std::string_view::npos ? std::string_view::npos : c2 - c1 - 1);
    std::string_view blue = c2 == std::string_view::npos ? std::string_view{} : inner.substr(c2 + 1);
    return MakeColour(unsigned(PrefixedInteger(red)), unsigned(PrefixedInteger(green)),
                      unsigned(PrefixedInteger(blue)));
}

bool IsColourText(std::string_view text) {
    if (text.empty()) return false;
    if (text[0] == '#') return true;
    if (StartsWithIgnoreCase(text, "RGB(")) return true;
    for (std::string_view name : kColourNames)
        if (text == name) return true;
    return false;
}

}  // namespace larkspur
