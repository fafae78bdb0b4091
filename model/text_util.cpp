#include "model/text_util.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

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

size_t CountByte(std::string_view text, char byte) {
    constexpr uint64_t kOnes = 0x0101010101010101ull, kLow7 = 0x7f7f7f7f7f7f7f7full, kHigh = 0x8080808080808080ull;
    const uint64_t pattern = kOnes * static_cast<unsigned char>(byte);
    // 1 in each byte lane that holds the byte sought.
    const auto matches = [&](uint64_t x) {
        x ^= pattern;
        return (~(((x & kLow7) + kLow7) | x) & kHigh) >> 7;
    };
    const char* data = text.data();
    const size_t words = text.size() / 8;
    size_t count = 0;
    for (size_t w = 0; w < words;) {
        // A byte lane counts up to 255 before it is summed.
        const size_t stop = w + std::min<size_t>(words - w, 255);
        uint64_t lanes = 0;
        for (; w < stop; ++w) {
            uint64_t x;
            std::memcpy(&x, data + w * 8, 8);
            lanes += matches(x);
        }
        const uint64_t pairs = (lanes & 0x00ff00ff00ff00ffull) + ((lanes >> 8) & 0x00ff00ff00ff00ffull);
        count += static_cast<size_t>((pairs * 0x0001000100010001ull) >> 48);
    }
    if (const size_t rest = text.size() - words * 8; rest > 0) {
        uint64_t x = ~pattern;  // the lanes past the end hold no match
        std::memcpy(&x, data + words * 8, rest);
        count += static_cast<size_t>((matches(x) * kOnes) >> 56);
    }
    return count;
}

}  // namespace larkspur
