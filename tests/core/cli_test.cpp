#include <gtest/gtest.h>

#include "cli_fixture.h"
#include "css/heap_pages.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace larkspur {
namespace {

using namespace larkspur::testing;

class CliTest : public CliFixture {};

TEST_F(CliTest, ExportWritesTheSheetAsSaveDoes) {
    WriteBytes(dir / "in.html",
               "<html><head><style>\n<!--\nh1 { font-family: serif, Arial; color: red }\n"
               ".note { border-top: 2px solid red }\n-->\n</style></head></html>");
    CliRun r = Cli("export " + P("in.html") + " " + P("out.css"));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const std::string once = ReadBytes(dir / "out.css");
    // The page's sheet as it stands, without what hides it from old browsers.
    EXPECT_EQ(once, "h1 { font-family: serif, Arial; color: red }\n.note { border-top: 2px solid red }\n");
    ASSERT_EQ(Cli("export " + P("out.css") + " " + P("again.css")).status, 0);
    EXPECT_EQ(ReadBytes(dir / "again.css"), once);
}

// After the restart for a huge-page heap, programs started from here see the
// user's own allocator settings, or none.
TEST(HeapPagesTest, TheUsersEnvironmentIsPutBackAfterTheRestart) {
    const struct {
        const char* saved;
        const char* expected;  // nullptr: not set
    } cases[] = {{"+glibc.malloc.check=0", "glibc.malloc.check=0"}, {"-", nullptr}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.saved);
        ::setenv("LARKSPUR_USERS_GLIBC_TUNABLES", c.saved, 1);
        ::setenv("GLIBC_TUNABLES", "glibc.malloc.check=0:glibc.malloc.hugetlb=1", 1);
        char name[] = "core_tests";
        char* argv[] = {name, nullptr};
        StartWithHugePageHeap(argv);
        const char* now = std::getenv("GLIBC_TUNABLES");
        EXPECT_EQ(now ? std::string(now) : "(unset)", c.expected ? c.expected : "(unset)");
        EXPECT_EQ(std::getenv("LARKSPUR_USERS_GLIBC_TUNABLES"), nullptr);
    }
    ::unsetenv("GLIBC_TUNABLES");
}

TEST_F(CliTest, ListingPrintsTheSheetAsSaved) {
    WriteBytes(dir / "in.css", "P { clear: both; z-index: 2 }\r\nB {}");
    CliRun r = Cli("listing " + P("in.css"));
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "P { clear: both; z-index: 2 }\r\nB {}");
    WriteBytes(dir / "empty.css", "");
    r = Cli("listing " + P("empty.css"));
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "");
}

TEST_F(CliTest, RulesPrintsTheRuleListWithWhatThePagesShow) {
    WriteBytes(dir / "in.css", "/* x */\nh1 { color: red; --k: 1 }\n@media print {\n  a,\n  b { top: 0 }\n}\nh1 { z-index: 2 }\n");
    CliRun r = Cli("rules --values " + P("in.css"));
    EXPECT_EQ(r.status, 0) << r.err;
    const std::string out = r.out;
    // The tag rules first (h1 filled by the first block), then the blocks added.
    EXPECT_TRUE(out.starts_with("-\t-\t\tADDRESS\n-\t-\t\tAPPLET\n")) << out;
    EXPECT_NE(out.find("2\tx\t\th1\n\tcolor: red\n"), std::string::npos) << out;
    EXPECT_TRUE(out.ends_with("4\tx\t@media print\ta, b\n\ttop: 0\n7\tx\t\th1\n\tz-index: 2\n")) << out;
}

// Every style rule of a real sheet, at the top and inside at-rules, is a row,
// counted here by braces alone.
TEST_F(CliTest, RulesListsEveryStyleRuleOfRealSheets) {
    for (const char* name : {"normalize.css", "animate.min.css", "bootstrap.min.css", "spectre-exp.css"}) {
        SCOPED_TRACE(name);
        const std::string sheet = ReadBytes(fs::path(LARKSPUR_TEST_DATA) / "frameworks" / name);
        // Blocks whose prelude does not start with "@", at the top or inside
        // @media/@supports; comments and strings hold no braces in these sheets.
        int expected = 0;
        std::vector<bool> grouping{true};
        size_t prelude = 0;
        for (size_t i = 0; i < sheet.size(); ++i) {
            if (sheet.compare(i, 2, "/*") == 0) {
                i = sheet.find("*/", i + 2) + 1;
                prelude = i + 1;
            } else if (sheet[i] == '{') {
                const size_t at = sheet.find_first_not_of(" \t\r\n", prelude);
                const bool atRule = sheet[at] == '@';
                if (!atRule && grouping.back()) ++expected;
                grouping.push_back(atRule && (sheet.compare(at, 6, "@media") == 0 || sheet.compare(at, 9, "@supports") == 0));
                prelude = i + 1;
            } else if (sheet[i] == '}') {
                grouping.pop_back();
                prelude = i + 1;
            } else if (sheet[i] == ';') {
                prelude = i + 1;
            }
        }
        const CliRun r = Cli("rules " + Quote((fs::path(LARKSPUR_TEST_DATA) / "frameworks" / name).string()));
        ASSERT_EQ(r.status, 0) << r.err;
        int listed = 0;
        for (size_t at = 0; (at = r.out.find("\tx\t", at)) != std::string::npos; ++at) ++listed;
        EXPECT_EQ(listed, expected);
        EXPECT_GT(expected, 20);
    }
}

TEST_F(CliTest, RejectedInputFailsWithTheMessageAndNoOutput) {
    WriteBytes(dir / "page.html", "<html><body>no sheet</body></html>");
    WriteBytes(dir / "open.html", "<html><style>P{}");
    WriteBytes(dir / "binary.css", std::string("P{}\0", 4));
    fs::create_directories(dir / "folder.css");
    struct Case {
        const char* input;
        std::string message;
    };
    const Case cases[] = {
        {"page.html", "Invalid Style Sheet: No <STYLE> tag\n"},
        {"open.html", "Invalid Style Sheet: No closing </STYLE> tag\n"},
        {"binary.css", "Invalid Style Sheet: The file holds binary data (a NUL byte)\n"},
        {"missing.css", "Cannot open \"" + (dir / "missing.css").string() + "\": No such file or directory\n"},
        {"folder.css", "Cannot open \"" + (dir / "folder.css").string() + "\": it is not a regular file\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input);
        CliRun r = Cli("export " + P(c.input) + " " + P("out.css"));
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err, c.message);
        EXPECT_FALSE(fs::exists(dir / "out.css"));
        r = Cli("listing " + P(c.input));
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, c.message);
    }
    // An output that cannot be written fails too, and the old file is kept.
    WriteBytes(dir / "ok.css", "P{}");
    CliRun r = Cli("export " + P("ok.css") + " " + P("nofolder/out.css"));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("Cannot write"), std::string::npos);
}

TEST_F(CliTest, UsageErrorsHelpAndVersion) {
    for (const char* args : {"", "export", "export a", "export a b c", "listing", "listing a b", "frobnicate"}) {
        SCOPED_TRACE(args);
        CliRun r = Cli(args);
        EXPECT_EQ(r.status, 2);
        EXPECT_NE(r.err.find("Usage"), std::string::npos);
        EXPECT_EQ(r.out, "");
    }
    CliRun help = Cli("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("export INPUT OUTPUT"), std::string::npos);
    CliRun version = Cli("--version");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, std::string("larkspur-cli ") + LARKSPUR_VERSION + "\n");
}

}  // namespace
}  // namespace larkspur
