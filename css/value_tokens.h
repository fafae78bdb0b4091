#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace larkspur {

// One component of a declaration's value as CSS reads it: a token, or a
// function or parenthesised block with what it holds. Blanks and comments
// between them are dropped.
struct ValueToken {
    enum class Kind : unsigned char {
        Ident,
        Function,  // name( children )
        Paren,     // ( children )
        Block,     // { children }: never part of a property's value
        Hash,
        String,
        Url,  // url(unquoted)
        Number,
        Percentage,
        Dimension,
        Comma,
        Delim,  // one character: / * + - [ ] ! ...
        Bad,    // an unclosed string or url(), a stray ")" or "}"
    };
    Kind kind = Kind::Delim;
    std::string name;  // Ident, Function, Hash (without "#"): ASCII lower case; Dimension: its unit, lower case; Delim: the character
    double number = 0;
    bool integer = false;  // Number written without "." or exponent
    size_t begin = 0, end = 0;  // in the value's text
    std::vector<ValueToken> children;
};

// The value's components; `end` of a Function or Paren is past its ")"
// (or the text's end when unclosed). Past `maxTokens` components in all,
// reading stops and `cut` (when given) is set.
std::vector<ValueToken> TokenizeValue(std::string_view value, size_t maxTokens = SIZE_MAX, bool* cut = nullptr);

}  // namespace larkspur
