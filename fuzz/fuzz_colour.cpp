// Colour texts and lengths come straight from user files.
#include <cstddef>
#include <cstdint>
#include <string>

#include "model/colour.h"
#include "model/vocabulary.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    larkspur::ColourValue c = larkspur::ColourFromText(text);
    if (c > 0xFFFFFFu) __builtin_trap();  // the top byte stays zero
    // The written form reads back to the same colour.
    if (larkspur::ColourFromText(larkspur::ColourText(c)) != c) __builtin_trap();
    (void)larkspur::IsColourText(text);
    std::string unit = "?", number;
    bool ok = larkspur::SplitLength(text, unit, number);
    if (number.size() > text.size()) __builtin_trap();
    if (ok && number + unit != text) __builtin_trap();
    return 0;
}
