// Broken and hostile files given to the command-line tool, which opens and
// writes exactly as the editor does: each ends with a clear message or a
// defined result, and no file of the user's is lost or changed on failure.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cerrno>
#include <random>

#include "cli_fixture.h"
#include "css/html_embed.h"
#include "css/sheet_document.h"

namespace larkspur {
namespace {

using namespace larkspur::testing;

class HostileInputTest : public CliFixture {
protected:
    CliRun Export(const std::string& input) { return Cli("export " + Quote(input) + " " + P("out.css")); }
    bool OutputExists() { return fs::exists(dir / "out.css"); }
};

TEST_F(HostileInputTest, EmptyFiles) {
    CliRun css = Export(Write("empty.css", ""));
    EXPECT_EQ(css.status, 0) << css.err;
    EXPECT_EQ(Read((dir / "out.css").string()), "");

    fs::remove(dir / "out.css");
    CliRun page = Export(Write("empty.html", ""));
    EXPECT_EQ(page.status, 1);
    EXPECT_EQ(page.err, "Invalid Style Sheet: No <STYLE> tag\n");
    EXPECT_FALSE(OutputExists());
}

// A million blocks of two selectors, each block a rule of its own.
TEST_F(HostileInputTest, MillionRepeatedBlocksAreWrittenBackAsRead) {
    const std::string rule = "H1 { color: red; font-size: 12pt }\n.note { margin-left: auto }\n";
    std::string big;
    big.reserve(32u << 20);
    while (big.size() < (32u << 20)) big += rule;
    CliRun r = Export(Write("big.css", big));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(Read((dir / "out.css").string()) == big);
}

TEST_F(HostileInputTest, BinaryDataAndNulBytesAreRefused) {
    std::mt19937 rng(7);
    std::string noise(64 * 1024, '\0');
    for (char& c : noise) c = static_cast<char>(rng());
    for (const auto& [name, text] : {std::pair{"noise.css", noise},
                                     std::pair{"nul.css", std::string("H1 { color: red }\0X", 19)}}) {
        SCOPED_TRACE(name);
        CliRun r = Export(Write(name, text));
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find("binary"), std::string::npos) << r.err;
        EXPECT_FALSE(OutputExists());
    }
}

TEST_F(HostileInputTest, InvalidUtf8IsKeptByteForByte) {
    const std::string sel = ".caf\xE9\xFF";
    CliRun r = Export(Write("latin1.css", sel + " { font-family: \xC3\x28 Sans }\n"));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Read((dir / "out.css").string()), sel + " { font-family: \xC3\x28 Sans }\n");
}

TEST_F(HostileInputTest, VeryLongLinesAndSelectors) {
    const std::string selector = "." + std::string(1 << 20, 'x');
    std::string line;
    for (int i = 0; i < 20000; ++i) line += ".r" + std::to_string(i) + " { color: red } ";
    CliRun r = Export(Write("long.css", selector + " { color: blue }" + line));
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string out = Read((dir / "out.css").string());
    EXPECT_TRUE(out == selector + " { color: blue }" + line);
}

TEST_F(HostileInputTest, ThousandsOfRulesAllListed) {
    std::string sheet;
    for (int i = 0; i < 5000; ++i) sheet += "#id" + std::to_string(i) + " { z-index: " + std::to_string(i) + " }\n";
    CliRun r = Cli("listing " + Quote(Write("many.css", sheet)));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(r.out == sheet);
}

TEST_F(HostileInputTest, UnbalancedBracesAndTags) {
    struct Case {
        const char* name;
        const char* text;
        int status;
        const char* out;
    };
    const Case cases[] = {
        // The end of the text closes what is open.
        {"open.css", "H1 { color: red", 0, "H1 { color: red}"},
        // Stray braces before a rule are part of its selector; open blocks at the
        // end are closed and kept.
        {"closers.css", "}}} H1 { color: red } {{{", 0, "}}} H1 { color: red } {{{}}}"},
        // A nested rule stays inside its rule, as written.
        {"nested.css", "H1 { P { color: red } }", 0, "H1 { P { color: red } }"},
        {"unclosed.html", "<html><head><style> H1 { color: red } </head>", 1, nullptr},
        {"endfirst.html", "</style><style>H1{color:red}", 1, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove(dir / "out.css");
        CliRun r = Export(Write(c.name, c.text));
        EXPECT_EQ(r.status, c.status) << r.err;
        if (c.out) {
            EXPECT_EQ(Read((dir / "out.css").string()), c.out);
        } else {
            EXPECT_FALSE(r.err.empty());
            EXPECT_FALSE(OutputExists());
        }
    }
}

TEST_F(HostileInputTest, DirectoryOrMissingInput) {
    fs::create_directories(dir / "folder.css");
    for (const std::string& input : {(dir / "folder.css").string(), (dir / "missing.css").string()}) {
        SCOPED_TRACE(input);
        CliRun r = Export(input);
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find(input), std::string::npos) << r.err;
        EXPECT_FALSE(OutputExists());
    }
}

TEST_F(HostileInputTest, PagesThatCannotBeWrittenStayAsTheyWere) {
    const std::string sheet = Write("sheet.css", "H1 { color: red }");
    const std::string page = "<html><head><style>p{}</style></head><body>keep</body></html>";
    const std::string readOnly = Write("ro.html", page);
    ::chmod(readOnly.c_str(), 0444);
    const std::string fine = Write("fine.html", page);
    // A folder on a read-only file system refuses even root.
    const std::string sealed = "/proc/larkspur-test-page.html";
    CliRun r = Cli("apply " + Quote(sheet) + " " + Quote(readOnly) + " " + Quote(sealed) + " " + Quote(fine));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("ro.html"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find(sealed), std::string::npos) << r.err;
    EXPECT_EQ(Read(readOnly), page);
    EXPECT_NE(Read(fine).find("color: red"), std::string::npos) << "the other pages are still done";

    CliRun out = Cli("export " + Quote(sheet) + " /proc/larkspur-test.css");
    EXPECT_EQ(out.status, 1);
    EXPECT_FALSE(out.err.empty());
}

// A disk that fills up part-way through a write, for every kind of file the
// program writes over: the old file survives whole and nothing is left behind.
TEST_F(HostileInputTest, FullDiskPartWayLeavesEveryFileWhole) {
    SheetDocument doc;
    doc.CreateStartRules();
    ASSERT_TRUE(doc.ReadStyleSheet(Write("sheet.css", "H1 { color: red; font-size: 12pt }")));
    const std::string css = Write("old.css", "old sheet");
    const std::string page = Write("page.html", "<html><head></head><body>old page</body></html>");
    long budget = 0;
    SetFileWriteHook([&](int fd, const char* data, std::size_t size) -> long {
        if (budget <= 0) {
            errno = ENOSPC;
            return -1;
        }
        long n = std::min<long>(budget, static_cast<long>(size));
        budget -= n;
        return static_cast<long>(::write(fd, data, static_cast<size_t>(n)));
    });
    for (long allowed : {0L, 1L, 10L}) {
        SCOPED_TRACE(allowed);
        budget = allowed;
        IoResult sheetWrite = doc.WriteStyleSheetFile(css);
        EXPECT_FALSE(sheetWrite);
        EXPECT_NE(sheetWrite.error.find("No space"), std::string::npos) << sheetWrite.error;
        budget = allowed;
        EXPECT_FALSE(EmbedStyleBlock(doc, page, true, nullptr).Written());
        EXPECT_EQ(Read(css), "old sheet");
        EXPECT_EQ(Read(page), "<html><head></head><body>old page</body></html>");
    }
    SetFileWriteHook(nullptr);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 3)
        << "no temporary file is left beside the user's files";
}

}  // namespace
}  // namespace larkspur
