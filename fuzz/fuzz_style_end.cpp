// A sheet of any text placed into a page of any text: the page holds exactly
// one style element of ours, which ends where the sheet ends, reads back as
// the same sheet, and a second placing changes nothing.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "css/css_scan.h"
#include "css/html_embed.h"
#include "css/sheet_document.h"

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

    const std::string placed = larkspur::PlaceStyleBlock(page, block);
    const size_t at = placed.find(block);
    Trap(at != std::string::npos);
    std::string outside = placed;
    outside.erase(at, block.size());
    Trap(larkspur::RemoveStyleElements(placed) == outside);
    Trap(larkspur::PlaceStyleBlock(placed, block) == placed);

    larkspur::SheetDocument back;
    back.CreateStartRules();
    Trap(static_cast<bool>(back.ReadStyleSheetText(placed, "p.html")));
    Trap(back.BuildStyleBlock() == block);
    return 0;
}
