#pragma once
#include <string>
#include <string_view>

namespace larkspur {

// Steps over the parts of CSS text whose braces and semicolons are not
// structure: comments, quoted strings with their escapes, and unquoted url().
// Every function returns a position in the text, never past its end.
namespace css_scan {

inline constexpr size_t npos = std::string_view::npos;

// At "/*": the position after the closing "*/", or the end of an unclosed one.
size_t SkipComment(std::string_view text, size_t at);

// The first of the characters in `stops` (some of ";{}") outside comments,
// strings and url(), and not inside a nested {} block; npos if none. A "}"
// that would close a block opened before `from` stops the search as well
// when listed in stops.
size_t FindStructural(std::string_view text, size_t from, std::string_view stops);
// At "{": the matching "}", or npos when the text ends first.
size_t FindBlockEnd(std::string_view text, size_t open);

// The text made safe to write back and read again on its own: strings that
// end unclosed get their quote, an unclosed comment its "*/" and unclosed
// blocks their "}". Text that is already whole comes back unchanged.
std::string CloseOpenParts(std::string_view text);

// Appends the text with every "</style" (in any letter case) written so that
// a page's style element holding it cannot end there, and the CSS means the
// same: "<\/style" inside strings and url(), "<*//*/style" splitting a
// comment in two, "</**//style" (an empty comment) elsewhere.
void AppendInStyleElement(std::string& out, std::string_view text);
// Where "</style" first stands in the text, in any letter case; npos if nowhere.
size_t FindStyleEndTag(std::string_view text, size_t from = 0);

}  // namespace css_scan
}  // namespace larkspur
