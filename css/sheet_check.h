#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "css/declarations.h"
#include "css/value_check.h"

namespace larkspur {

// A declaration of a sheet's text whose value a browser would drop, or whose
// property it does not know.
struct ValueProblem {
    size_t offset = 0;  // of the declaration's name in the text
    std::string property;
    std::string value;  // as written, without "!important"
    ValueCheck check;
};

// Every declaration of the style rules in the text (nested ones and those in
// conditional at-rules and keyframes too; descriptors of @font-face and its
// kind are not properties and are left alone) that is not valid.
std::vector<ValueProblem> CheckSheetText(std::string_view text);

// Whether a browser would drop one of the declarations that are switched on.
bool HasInvalidDeclaration(const std::vector<Declaration>& declarations);

// 1-based line and column (in bytes) of an offset of the text.
struct LineColumn {
    size_t line = 1, column = 1;
};
LineColumn LineColumnAt(std::string_view text, size_t offset);

}  // namespace larkspur
