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
    int before = 0, after = 0;
    const std::string kept = Outside(page, &before);
    const std::string placed = larkspur::PlaceStyleBlock(page, kBlock);
    std::string rest = Outside(placed, &after);
    if (after != 1) __builtin_trap();
    // A page without a head is given one around the block.
    if (rest != kept) {
        size_t head = rest.find("<HEAD></HEAD>");
        if (head == std::string::npos) __builtin_trap();
        rest.erase(head, 13);
        if (rest != kept) __builtin_trap();
    }
    // Placing it again changes nothing.
    if (larkspur::PlaceStyleBlock(placed, kBlock) != placed) __builtin_trap();
    return 0;
}
