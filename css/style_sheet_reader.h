#pragma once
#include <string_view>

#include "css/file_io.h"
#include "css/kept_content.h"

namespace larkspur {

class SheetDocument;

inline constexpr std::string_view kNoStyleTagMessage = "Invalid Style Sheet: No <STYLE> tag";
inline constexpr std::string_view kNoClosingStyleTagMessage =
    "Invalid Style Sheet: No closing </STYLE> tag";
inline constexpr std::string_view kBinaryDataMessage =
    "Invalid Style Sheet: The file holds binary data (a NUL byte)";

// The part of a file's text that holds the rules. A page's sheet runs from
// the end of its style start tag to its "</STYLE", without the blanks and
// the "<!--" that set it off; a .css file without a style tag is the whole
// text. Text with NUL bytes is refused: it is no style sheet, and the
// editor's controls could not show it.
IoResult FindSheetText(std::string_view text, std::string_view path, std::string_view& sheet);

// Fills a document from sheet text. Comments, strings, url() and nested
// blocks are stepped over as browsers do; text that ends inside a block,
// comment or string is closed as a browser closes it. Every rule block is a
// rule of its own, also a repeated selector's and those inside @media,
// @supports and the like; the document keeps the text as it is and edits
// only what the pages change. The result goes to the document in one call.
class StyleSheetReader {
public:
    explicit StyleSheetReader(SheetDocument& document) : doc_(document) {}
    void Read(std::string_view sheet);
    // The sheet as read, not yet handed over: it holds no view of the text,
    // so a caller may let a big file's text go before the document grows.
    ReadSheet Parse(std::string_view sheet) const;

private:
    SheetDocument& doc_;
};

}  // namespace larkspur
