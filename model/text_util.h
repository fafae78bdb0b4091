#pragma once
#include <string>
#include <string_view>

namespace larkspur {

// Locale-free ASCII helpers: the sheet is 8-bit text and only ASCII letters
// change case.
constexpr bool IsAsciiSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}
constexpr bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
constexpr bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }
constexpr char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }

inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
// The text without a leading UTF-8 byte-order mark.
constexpr std::string_view WithoutByteOrderMark(std::string_view text) {
    return text.starts_with(kUtf8Bom) ? text.substr(kUtf8Bom.size()) : text;
}

std::string AsciiUpperCopy(std::string_view text);
bool EqualsIgnoreCase(std::string_view a, std::string_view b);
bool StartsWithIgnoreCase(std::string_view text, std::string_view prefix);
bool EndsWithIgnoreCase(std::string_view text, std::string_view suffix);
std::string_view TrimAsciiSpace(std::string_view text);
// How often the byte occurs in the text; eight bytes at a time, for the
// reader's passes over whole sheets.
size_t CountByte(std::string_view text, char byte);

}  // namespace larkspur
