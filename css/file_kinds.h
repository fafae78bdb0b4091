#pragma once
#include <string>
#include <string_view>

namespace larkspur {

// True when the file is a stand-alone style sheet (its name ends in "css",
// any case); any other file is an HTML page whose style element holds the sheet.
bool IsStyleSheetFileName(std::string_view path);

// The selector a new rule gets: a class ("kind" 1) starts with ".", an ID
// (2) with "#", unless the name already does; a tag (0) or no kind keeps it.
std::string NewRuleSelector(std::string_view name, int kind);

// Why a selector cannot head a rule ("" when it can): it must name something
// and may not hold "{", "}" or ";", which would end the rule early.
std::string RuleNameProblem(std::string_view selector);

}  // namespace larkspur
