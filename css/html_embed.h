#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "css/file_io.h"

namespace larkspur {

class SheetDocument;

// Page text is 8-bit; tag names are matched without regard to case, and the
// page keeps its own. Only real tags count: nothing inside comments, CDATA
// sections, attribute values or the text of scripts, titles and the like. A
// style element runs from its start tag to the first "</STYLE" tag after it;
// a style start tag without one is not an element and its text is kept as it
// is. A UTF-8 byte-order mark stays first.

// True when the page holds at least one complete style element.
bool HasStyleElement(std::string_view page);
// Where the page's first real style start tag begins (one never closed
// included), skipping comments, scripts and the like; npos if none.
size_t FirstStyleTag(std::string_view page);
// One past the ">" ending a tag whose name ends at pos; quoted attribute
// values may hold ">". npos when the tag never ends.
size_t TagEnd(std::string_view page, size_t pos);

// The page without its complete style elements; every other byte is kept.
std::string RemoveStyleElements(std::string_view page);

// The block added to the page's head without removing anything: directly
// before "</HEAD>"; without one, right after the head start tag; without a
// head, wrapped in "<HEAD>"..."</HEAD>" after the html start tag, after a
// leading doctype, or at the very start. Never after an unclosed "<STYLE".
std::string InsertStyleBlock(std::string_view page, std::string_view block);

// Every complete style element removed and the block put in their stead: at
// the place of the last one that starts before "</HEAD>", or else where
// InsertStyleBlock would put it. Everything outside the elements is kept.
std::string PlaceStyleBlock(std::string_view page, std::string_view block);

// A new page whose head holds the block (Save As to a page not yet on disk),
// its lines ended as the sheet's are.
std::string NewPageText(std::string_view block, std::string_view title, std::string_view eol = "\r\n");

// Asked before a page's own style elements are replaced; the window answers
// with a message box, tests with a script.
class StyleQuestion {
public:
    virtual ~StyleQuestion() = default;
    virtual bool AskYesNo(const std::string& text, const std::string& caption) = 0;
};

inline constexpr const char kOverwriteQuestion[] = "Overwrite existing Style Sheet";
inline constexpr const char kPreviewQuestion[] = "Overide existing Style Sheet";
inline constexpr const char kQuestionCaption[] = "Query";
inline constexpr const char kPreviewFileName[] = "~styletemp.html";
inline constexpr const char kPreviewSheetName[] = "test.css";
// The preview sheet's name when a "test.css" of the user's is in the folder.
inline constexpr const char kPreviewSpareSheetName[] = "~styletemp.css";
// First line of every preview sheet, ended as the sheet's lines are: it tells
// ours from a user's own file.
inline constexpr const char kPreviewSheetMark[] = "/* Larkspur preview sheet, rewritten by every preview */";
// Put before the sheet in a preview copy that keeps the page's own styles, so
// that a refresh (or the live preview) replaces only the sheet.
inline constexpr std::string_view kPreviewMarker = "<!-- sheet preview -->";

enum class MissingPage { kFail, kCreate };

struct EmbedResult {
    IoResult io;
    bool declined = false;  // the user kept the page's own style sheet
    bool created = false;   // the page did not exist and was made
    bool Written() const { return io.ok && !declined; }
};

// Rewrites the page with the sheet's style block. Unless silent, asks
// kOverwriteQuestion first when the page has style elements; No leaves the
// page as it was. A null asker counts as silent. A page that cannot be read
// or written is left exactly as it was and the error says why. With
// MissingPage::kCreate a page that does not exist is made (NewPageText).
EmbedResult EmbedStyleBlock(const SheetDocument& doc, const std::string& pagePath, bool silent,
                            StyleQuestion* asker, MissingPage missing = MissingPage::kFail);

// Reads the page as EmbedStyleBlock does before a silent rewrite and makes
// the text it would write; nothing is written.
IoResult PlaceStyleBlockInPage(const std::string& pagePath, std::string_view block, std::string& page,
                               std::string& placed);

// Folder of a page as the preview uses it: absolute, ending in "/".
std::string PageFolderOf(const std::string& pagePath);

// The head given to the preview copy of a page that has none.
std::string PreviewLinkHead(std::string_view pageFolder, std::string_view sheetName = kPreviewSheetName);

struct PreviewResult {
    IoResult io;
    std::string copyPath;         // the folder, "/", kPreviewFileName
    std::string sheetPath;        // the folder, "/", the preview sheet's name
    bool keptPageStyles = false;  // the user answered No
};

// Writes the sheet as pageFolder + "test.css" (after kPreviewSheetMark) and
// the preview copy of the page as pageFolder + "~styletemp.html", with the
// style block in the copy's head. A "test.css" that is not ours is left
// alone: the sheet goes to kPreviewSpareSheetName instead, and the copy's
// link follows. Unless silent, asks kPreviewQuestion when the page has style
// elements: Yes (or silent) drops them from the copy, No keeps them and puts
// the sheet after them. The page itself is never written.
PreviewResult LoadPreview(const SheetDocument& doc, const std::string& pagePath,
                          const std::string& pageFolder, bool silent, StyleQuestion* asker);

// Puts the current style block into the existing preview copy in the folder,
// silently; the page's own styles kept by LoadPreview stay kept.
IoResult RefreshPreview(const SheetDocument& doc, const std::string& pageFolder);

struct PageFailure {
    std::string path;
    std::string error;
    bool saved = false;  // the page was written: the error is a warning
};

// Embeds the style block into every page, silently; a failing page does not
// stop the others. Returns the pages that failed or were saved with a
// warning, in the given order.
std::vector<PageFailure> SaveIntoPages(const SheetDocument& doc,
                                       const std::vector<std::string>& pagePaths);

}  // namespace larkspur
