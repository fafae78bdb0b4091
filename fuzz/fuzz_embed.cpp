// Placing the sheet into a page must keep every byte outside the page's real
// style elements and leave exactly one style element, whatever the page holds.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "css/html_embed.h"

namespace {

constexpr std::string_view kBlock = "<style type=\"text/css\">\r\n<!--\r\nH1 {\r\ncolor: red;\r\n}\r\n-->\r\n</style>";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view page(reinterpret_cast<const char*>(data), size);
    // A page quoting the block itself (in a comment or title) would hide it.
    if (page.find(kBlock) != std::string_view::npos) return 0;
    const std::string kept = larkspur::RemoveStyleElements(page);
    if (kept.size() > page.size()) __builtin_trap();
    std::string placed = larkspur::PlaceStyleBlock(page, kBlock);
    // The block is in the page once, and taking it out again gives back every
    // byte that stood outside the page's style elements.
    const size_t at = placed.find(kBlock);
    if (at == std::string::npos || placed.find(kBlock, at + 1) != std::string::npos) __builtin_trap();
    placed.erase(at, kBlock.size());
    if (placed != kept) {
        // A page without a head is given one around the block; the page's own
        // text may hold the same words, so look only where the block stood.
        if (at < 6 || placed.compare(at - 6, 13, "<HEAD></HEAD>") != 0) __builtin_trap();
        placed.erase(at - 6, 13);
        if (placed != kept) __builtin_trap();
    }
    // A byte-order mark stays first.
    if (page.starts_with("\xEF\xBB\xBF") && !std::string_view(larkspur::PlaceStyleBlock(page, kBlock)).starts_with("\xEF\xBB\xBF"))
        __builtin_trap();
    return 0;
}
