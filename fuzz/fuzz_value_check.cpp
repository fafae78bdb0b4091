// Sheets and values come straight from user files: the checker must end on
// any of them, place every problem inside the text, and say why it dropped one.
#include <cstddef>
#include <cstdint>
#include <string>

#include "css/sheet_check.h"
#include "css/value_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    for (const larkspur::ValueProblem& p : larkspur::CheckSheetText(text)) {
        if (p.offset >= text.size()) __builtin_trap();
        if (p.check.verdict == larkspur::ValueVerdict::Invalid && p.check.message.empty()) __builtin_trap();
    }
    // The whole input as the value of a few properties of every kind of grammar.
    for (const char* property : {"display", "background", "font", "grid-template-columns", "transition", "color"}) {
        larkspur::ValueCheck c = larkspur::CheckValue(property, text);
        if (c.verdict == larkspur::ValueVerdict::Unknown) __builtin_trap();
    }
    return 0;
}
