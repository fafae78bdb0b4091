// A sheet of any text placed into a page of any text: its style block is one
// element, which ends where the sheet ends and reads back as the same sheet.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "css/css_scan.h"
#include "css/html_embed.h"
#include "css/sheet_document.h"
#include "model/text_util.h"

namespace {

void Trap(bool ok) {
    if (!ok) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The first byte says how much of the rest is the page; the sheet follows.
    if (size < 1) return 0;
    const std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    const size_t split = rest.size() * data[0] / 256;
    const std::string_view page = rest.substr(0, split), sheet = rest.substr(split);

    larkspur::SheetDocument doc;
    doc.CreateStartRules();
    if (!doc.ReadStyleSheetText(sheet, "f.css")) return 0;
    const std::string block = doc.BuildStyleBlock();
    // A page quoting the block itself (in a comment or title) would hide it;
    // one with a NUL byte is no page.
    if (page.find(block) != std::string_view::npos || page.find('\0') != std::string_view::npos) return 0;
    Trap(larkspur::css_scan::FindStyleEndTag(block) == block.rfind("</style>"));

    // The block is one style element, ending where it ends, wherever it stands.
    Trap(larkspur::RemoveStyleElements("<p>" + block + "</p>") == "<p></p>");
    Trap(larkspur::PlaceStyleBlock(page, block).find(block) != std::string::npos);

    larkspur::SheetDocument back;
    back.CreateStartRules();
    Trap(static_cast<bool>(back.ReadStyleSheetText("<head>" + block + "</head>", "p.html")));
    // The blanks around a page's sheet are not its own, and the reader drops
    // "<!--" and "-->" between rules, which a sheet holding them may gain.
    if (sheet.find("<!--") != std::string_view::npos || sheet.find("-->") != std::string_view::npos) return 0;
    std::string written;
    larkspur::css_scan::AppendInStyleElement(written, larkspur::WithoutByteOrderMark(doc.StyleSheetText()));
    Trap(larkspur::TrimAsciiSpace(back.StyleSheetText()) == larkspur::TrimAsciiSpace(written));
    return 0;
}
