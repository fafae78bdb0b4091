#include <gtest/gtest.h>

#include "css/file_kinds.h"

namespace larkspur {
namespace {

TEST(FileKinds, AStyleSheetIsANameEndingInCssInAnyCase) {
    struct Case {
        const char* path;
        bool css;
    };
    const Case cases[] = {
        {"sheet.css", true},  {"/a/b/SHEET.CSS", true}, {"x.Css", true},       {"page.html", false},
        {"page.htm", false},  {"css", true},            {"notes.scss", true},  {"sheet.css.html", false},
        {"", false},          {"/dir.css/page.html", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(IsStyleSheetFileName(c.path), c.css);
    }
}

TEST(FileKinds, NewRuleSelectorsAndTheNamesARuleRefuses) {
    struct Case {
        const char* name;
        int kind;
        const char* selector;
        bool valid;
    };
    const Case cases[] = {
        {"main", 1, ".main", true},   {".main", 1, ".main", true}, {"x", 2, "#x", true},
        {"#x", 2, "#x", true},        {"H1", 0, "H1", true},       {"H1", -1, "H1", true},
        {"", 0, "", false},           {"   ", 0, "   ", false},    {"", 1, ".", false},
        {"", 2, "#", false},          {"a{b", 0, "a{b", false},    {"a}", 1, ".a}", false},
        {"p;", 0, "p;", false},       {"UL LI", 0, "UL LI", true}, {"H1, H2", 0, "H1, H2", true},
        {"a:hover", 0, "a:hover", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " kind " + std::to_string(c.kind));
        const std::string selector = NewRuleSelector(c.name, c.kind);
        EXPECT_EQ(selector, c.selector);
        const std::string problem = RuleNameProblem(selector);
        EXPECT_EQ(problem.empty(), c.valid) << problem;
    }
    EXPECT_NE(RuleNameProblem("a{").find("\"{\""), std::string::npos);
    EXPECT_NE(RuleNameProblem("").find("name"), std::string::npos);
}

}  // namespace
}  // namespace larkspur
