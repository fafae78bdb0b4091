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
    EXPECT_EQ(r.out, "P { clear: both; z-index: 2 }\r\nB {}\r\n");
    WriteBytes(dir / "empty.css", "");
    r = Cli("listing " + P("empty.css"));
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "");
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
