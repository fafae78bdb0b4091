#include "css/sheet_check.h"

#include <algorithm>

#include "css/css_scan.h"
#include "css/declarations.h"

namespace larkspur {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }

size_t SkipBlanksAndComments(std::string_view text, size_t at, size_t to) {
    while (at < to) {
        if (IsBlank(text[at]))
            ++at;
        else if (text.substr(at, 2) == "/*")
            at = css_scan::SkipComment(text, at);
        else
            break;
    }
    return std::min(at, to);
}

// At-rules whose block holds rules again rather than descriptors.
bool HoldsRules(std::string_view header) {
    std::string name;
    for (size_t i = 1; i < header.size() && !IsBlank(header[i]) && header[i] != '{' && header[i] != '('; ++i)
        name += static_cast<char>(header[i] >= 'A' && header[i] <= 'Z' ? header[i] + 32 : header[i]);
    for (std::string_view n : {"media", "supports", "layer", "container", "document", "-moz-document", "scope",
                               "starting-style", "keyframes", "-webkit-keyframes", "-moz-keyframes", "-o-keyframes"})
        if (name == n) return true;
    return false;
}

class Checker {
public:
    explicit Checker(std::string_view text) : text_(text) {}

    void Rules(size_t at, size_t to) {
        Deeper deeper(depth_);
        if (depth_ > kMaxDepth) return;
        while ((at = SkipBlanksAndComments(text_, at, to)) < to) {
            size_t stop = css_scan::FindStructural(text_, at, ";{}");
            if (stop == css_scan::npos || stop >= to) return;
            if (text_[stop] != '{') {
                at = stop + 1;  // an at-rule without a block, or a stray "}"
                continue;
            }
            size_t close = std::min(css_scan::FindBlockEnd(text_, stop), to);
            if (text_[at] != '@')
                Declarations(stop + 1, close);
            else if (HoldsRules(text_.substr(at, stop - at)))
                Rules(stop + 1, close);
            at = close + 1;
        }
    }

    std::vector<ValueProblem> problems;

private:
    void Declarations(size_t at, size_t to) {
        Deeper deeper(depth_);
        if (depth_ > kMaxDepth) return;
        while ((at = SkipBlanksAndComments(text_, at, to)) < to) {
            size_t stop = std::min(css_scan::FindStructural(text_, at, ";{}"), to);
            if (stop < to && text_[stop] == '{') {
                // A nested rule: what it holds is declarations and rules again.
                size_t close = std::min(css_scan::FindBlockEnd(text_, stop), to);
                Declarations(stop + 1, close);
                at = close + 1;
                continue;
            }
            Declaration d;
            if (ParseDeclaration(text_.substr(at, stop - at), d)) {
                ValueCheck check = CheckValue(d.name, d.value);
                if (check.verdict != ValueVerdict::Valid)
                    problems.push_back({at, std::move(d.name), std::move(d.value), std::move(check)});
            }
            at = stop + 1;
        }
    }

    // Blocks nested deeper than any sheet needs are not looked into.
    static constexpr int kMaxDepth = 64;
    struct Deeper {
        explicit Deeper(int& d) : depth(++d) {}
        ~Deeper() { --depth; }
        int& depth;
    };

    std::string_view text_;
    int depth_ = 0;
};

}  // namespace

std::vector<ValueProblem> CheckSheetText(std::string_view text) {
    Checker c(text);
    c.Rules(0, text.size());
    return std::move(c.problems);
}

bool HasInvalidDeclaration(const std::vector<Declaration>& declarations) {
    return std::any_of(declarations.begin(), declarations.end(), [](const Declaration& d) {
        return d.on && CheckValue(d.name, d.value).verdict == ValueVerdict::Invalid;
    });
}

LineColumn LineColumnAt(std::string_view text, size_t offset) {
    LineColumn at;
    offset = std::min(offset, text.size());
    for (size_t i = 0; i < offset; ++i) {
        if (text[i] == '\n') {
            ++at.line;
            at.column = 1;
        } else {
            ++at.column;
        }
    }
    return at;
}

}  // namespace larkspur
