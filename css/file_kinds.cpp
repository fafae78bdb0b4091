#include "css/file_kinds.h"

#include "model/text_util.h"

namespace larkspur {

bool IsStyleSheetFileName(std::string_view path) { return EndsWithIgnoreCase(path, "CSS"); }

std::string NewRuleSelector(std::string_view name, int kind) {
    std::string selector(name);
    const char prefix = kind == 1 ? '.' : kind == 2 ? '#' : '\0';
    if (prefix && (selector.empty() || selector.front() != prefix)) selector.insert(selector.begin(), prefix);
    return selector;
}

std::string RuleNameProblem(std::string_view selector) {
    const std::string_view name = TrimAsciiSpace(selector);
    if (name.empty() || name == "." || name == "#")
        return "Please type a name for the rule: a tag such as H1, a class such as .note or an ID such as #main.";
    if (name.find_first_of("{};") != std::string_view::npos)
        return "A rule name cannot hold \"{\", \"}\" or \";\": they would end the rule in the style sheet.";
    return {};
}

}  // namespace larkspur
