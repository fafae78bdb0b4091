// Placing the sheet into a page must keep every byte outside complete style
// elements and leave exactly one style element, whatever the page holds.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "css/html_embed.h"
#include "model/text_util.h"

namespace {

constexpr std::string_view kBlock = "<style type=\"text/css\">\r\n<!--\r\nH1 {\r\ncolor: red;\r\n}\r\n-->\r\n</style>";

// The page without its complete style elements, worked out independently of
// the code under test: an element runs from "<STYLE" to the first "/STYLE>"
// after it.
std::string Outside(std::string_view page, int* elements) {
    const std::string upper = larkspur::AsciiUpperCopy(page);
    std::string out;
    size_t pos = 0;
    *elements = 0;
    for (;;) {
        size_t start = upper.find("<STYLE", pos);
        size_t end = start == std::string::npos ? start : upper.find("/STYLE>", start);
        if (end == std::string::npos) break;
        out.append(page.substr(pos, start - pos));
        pos = end + 7;
        ++*elements;
    }
    out.append(page.substr(pos));
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view page(reinterpret_cast<const char*>(data), size);
    int elements = 0;
    const std::string kept = Outside(page, &elements);
    std::string placed = larkspur::PlaceStyleBlock(page, kBlock);
    // The block is in the page once, and taking it out again gives back every
    // byte that stood outside the page's style elements. (Those bytes may join
    // into a new tag once an element between them is cut out; they are kept
    // all the same.)
    const size_t at = placed.find(kBlock);
    if (at == std::string::npos || placed.find(kBlock, at + 1) != std::string::npos) __builtin_trap();
    placed.erase(at, kBlock.size());
    if (placed != kept) {
        // A page without a head is given one around the block.
        const size_t head = placed.find("<HEAD></HEAD>");
        if (head == std::string::npos) __builtin_trap();
        placed.erase(head, 13);
        if (placed != kept) __builtin_trap();
    }
    return 0;
}
