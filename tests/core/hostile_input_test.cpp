// Broken and hostile files given to the command-line tool, which opens and
// writes exactly as the editor does: each ends with a clear message or a
// defined result, and no file of the user's is lost or changed on failure.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cerrno>
#include <functional>
#include <map>
#include <random>

#include "cli_fixture.h"
#include "css/apply_journal.h"
#include "css/html_embed.h"
#include "css/sheet_document.h"
#include "model/text_util.h"

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

// Attacks on a page's folder and on the journal, and sheets made to break
// out of the page: each runs the tool as a user would and checks its status
// and message, that no file outside the page's folder changed, and what
// became of the page.
class AttackTest;
struct Attack {
    const char* name;
    std::function<void(AttackTest&)> plant;
    const char* command;  // {site} is the page's folder, {s} the sheet, {p} the page
    int status;
    const char* message;  // found on stderr; "" for none
    std::function<void(AttackTest&)> check;
};

class AttackTest : public CliFixture, public ::testing::WithParamInterface<Attack> {
public:
    using CliFixture::Cli;
    using CliFixture::Quote;
    fs::path Site() const { return dir / "site"; }
    fs::path Outside() const { return dir / "outside"; }
    std::string Page() const { return (Site() / "p.html").string(); }
    fs::path Journal() const { return JournalHome() / "larkspur" / "journal"; }
    CliRun Run(std::string command) {
        for (const auto& [key, value] : {std::pair{"{site}", Site().string()}, std::pair{"{s}", (Site() / "s.css").string()},
                                         std::pair{"{p}", Page()}}) {
            for (size_t at; (at = command.find(key)) != std::string::npos;) command.replace(at, std::string_view(key).size(), Quote(value));
        }
        return Cli(command);
    }
    void Sheet(std::string_view text) { WriteBytes(Site() / "s.css", text); }
    // Every file outside the page's folder, with what a link there names.
    std::map<std::string, std::string> OutsideFiles() const {
        std::map<std::string, std::string> files;
        for (const auto& e : fs::recursive_directory_iterator(Outside()))
            files[e.path().string()] = e.is_symlink() ? "link:" + fs::read_symlink(e.path()).string() : ReadBytes(e.path());
        return files;
    }
    // The page's sheet as the editor opens it.
    std::string PageSheet() {
        SheetDocument doc;
        doc.CreateStartRules();
        EXPECT_TRUE(doc.ReadStyleSheet(Page())) << ReadBytes(Page());
        return doc.StyleSheetText();
    }
    static size_t StyleEndTags(std::string_view text) {
        size_t n = 0;
        for (size_t at = 0; (at = AsciiUpperCopy(text).find("</STYLE", at)) != std::string::npos; ++at) ++n;
        return n;
    }
    void EditIndex(const std::function<void(std::string&)>& edit) {
        std::string text = ReadBytes((Journal() / "1" / "index").string());
        edit(text);
        WriteBytes(Journal() / "1" / "index", text);
    }
};

const std::string kPageText = "<html><head><title>t</title></head><body>page</body></html>";

const Attack kAttacks[] = {
    {"PreviewCopyLinkedOutside",
     [](AttackTest& t) { fs::create_symlink(t.Outside() / "notes.txt", t.Site() / "~styletemp.html"); },
     "preview {s} {p}", 0, "",
     [](AttackTest& t) {
         EXPECT_FALSE(fs::is_symlink(t.Site() / "~styletemp.html")) << "the link is replaced by a file";
         EXPECT_NE(ReadBytes(t.Site() / "~styletemp.html").find("color: red"), std::string::npos);
     }},
    {"PreviewCopyHardLinkedOutside",
     [](AttackTest& t) { fs::create_hard_link(t.Outside() / "notes.txt", t.Site() / "~styletemp.html"); },
     "preview {s} {p}", 0, "", nullptr},
    {"PreviewSheetLinkedOutside",
     [](AttackTest& t) { fs::create_symlink(t.Outside() / "new.conf", t.Site() / "test.css"); },
     "preview {s} {p}", 0, "",
     [](AttackTest& t) {
         EXPECT_TRUE(fs::is_symlink(t.Site() / "test.css")) << "a link under the user's name is left alone";
         EXPECT_EQ(ReadBytes(t.Site() / "~styletemp.css"), std::string(kPreviewSheetMark) + "\nH1 { color: red }\n");
     }},
    {"BothPreviewSheetNamesLinked",
     [](AttackTest& t) {
         fs::create_symlink(t.Outside() / "new.conf", t.Site() / "test.css");
         fs::create_symlink(t.Outside() / "notes.txt", t.Site() / "~styletemp.css");
     },
     "preview {s} {p}", 0, "", [](AttackTest& t) { EXPECT_FALSE(fs::is_symlink(t.Site() / "~styletemp.css")); }},
    {"PreviewCopyIsAFolder", [](AttackTest& t) { fs::create_directory(t.Site() / "~styletemp.html"); },
     "preview {s} {p}", 1, "it is a folder", nullptr},
    {"StyleEndTagInTheSheet",
     [](AttackTest& t) {
         t.Sheet("/* </style><script>alert(1)</script> */ H1{color:red} P::after{content:\"</STYLE>\"}\n"
                 ".x{background:url(</style>)} a</style>b{color:red}\n");
     },
     "apply {s} {p}", 0, "",
     [](AttackTest& t) {
         const std::string page = ReadBytes(t.Page());
         EXPECT_EQ(AttackTest::StyleEndTags(page), 1u) << page;
         EXPECT_EQ(page.find("<script"), page.find("<script", page.find("/*"))) << "only inside the comment";
         const std::string sheet = t.PageSheet();
         EXPECT_NE(sheet.find("H1{color:red}"), std::string::npos) << sheet;
         // The sheet read back from the page gives the page back unchanged.
         const CliRun again = t.Run("apply {s} {p}");
         EXPECT_EQ(again.out, "0 pages written, 1 unchanged\n");
         EXPECT_EQ(ReadBytes(t.Page()), page);
         WriteBytes(t.Site() / "back.css", sheet);
         EXPECT_EQ(t.Cli("apply " + t.Quote((t.Site() / "back.css").string()) + " " + t.Quote(t.Page())).out,
                   "0 pages written, 1 unchanged\n");
     }},
    {"ByteOrderMarkOfTheSheet", [](AttackTest& t) { t.Sheet("\xEF\xBB\xBFH1 { color: red }\n"); },
     "apply {s} {p}", 0, "",
     [](AttackTest& t) {
         EXPECT_EQ(ReadBytes(t.Page()).find("\xEF\xBB\xBF"), std::string::npos);
         EXPECT_EQ(t.Run("preview {s} {p}").status, 0);
         EXPECT_EQ(ReadBytes(t.Site() / "test.css"), std::string(kPreviewSheetMark) + "\nH1 { color: red }\n");
         EXPECT_EQ(ReadBytes(t.Site() / "~styletemp.html").find("\xEF\xBB\xBF"), std::string::npos);
     }},
    {"StylesOfDrawingsTemplatesAndNoscript",
     [](AttackTest& t) {
         WriteBytes(t.Page(), "<html><head><style>old{}</style></head><body>"
                              "<svg viewBox=\"0 0 1 1\"><style>circle{fill:red}</style></svg><svg/>"
                              "<template><style>:host{}</style></template>"
                              "<noscript><style>.js{display:none}</style></noscript><style>late{}</style></body></html>");
     },
     "apply {s} {p}", 0, "",
     [](AttackTest& t) {
         const std::string page = ReadBytes(t.Page());
         for (const char* kept : {"<svg viewBox=\"0 0 1 1\"><style>circle{fill:red}</style></svg>",
                                  "<template><style>:host{}</style></template>",
                                  "<noscript><style>.js{display:none}</style></noscript>"})
             EXPECT_NE(page.find(kept), std::string::npos) << kept;
         EXPECT_EQ(page.find("old{}"), std::string::npos);
         EXPECT_EQ(page.find("late{}"), std::string::npos);
     }},
    {"DeepAtRuleNesting",
     [](AttackTest& t) {
         std::string deep;
         for (int i = 0; i < 16000; ++i) deep += "@media all {";
         deep += "a{color:red}" + std::string(16000, '}') + "\n";
         t.Sheet(deep);
     },
     "export {s} {site}/out.css", 0, "",
     [](AttackTest& t) { EXPECT_TRUE(ReadBytes(t.Site() / "out.css") == ReadBytes(t.Site() / "s.css")); }},
    {"JournalWritableByOthers",
     [](AttackTest& t) {
         ASSERT_EQ(t.Run("apply {s} {p}").status, 0);
         fs::permissions(t.Journal(), fs::perms::all);
     },
     "undo-apply", 1, "other users may write to it, so it is not trusted",
     [](AttackTest& t) {
         EXPECT_NE(ReadBytes(t.Page()), kPageText);
         WriteBytes(t.Page(), kPageText);
         EXPECT_EQ(t.Run("apply {s} {p}").status, 1) << "nor is a run kept there";
         EXPECT_EQ(ReadBytes(t.Page()), kPageText);
     }},
    {"RunOfAnotherUser",
     [](AttackTest& t) {
         ASSERT_EQ(t.Run("apply {s} {p}").status, 0);
         ASSERT_EQ(::chown((t.Journal() / "1" / "index").c_str(), 65534, 65534), 0);
     },
     "undo-apply 1", 1, "belongs to another user", [](AttackTest& t) { EXPECT_NE(ReadBytes(t.Page()), kPageText); }},
    {"RunNamingAPathThroughDotDot",
     [](AttackTest& t) {
         ASSERT_EQ(t.Run("apply {s} {p}").status, 0);
         // The run made to name a file outside by way of "..", with its sums.
         WriteBytes(t.Outside() / "p.html", ReadBytes(t.Page()));
         t.EditIndex([&](std::string& index) {
             const std::string real = t.Page(), planted = (t.Site() / ".." / "outside" / "p.html").string();
             index.replace(index.find(std::to_string(real.size()) + ":" + real), real.size() + 1 + std::to_string(real.size()).size(),
                           std::to_string(planted.size()) + ":" + planted);
         });
     },
     "undo-apply", 1, "through a link or \"..\"", nullptr},
    {"DamagedSizeField",
     [](AttackTest& t) {
         WriteBytes(t.Site() / "q.html", kPageText);
         ASSERT_EQ(t.Run("apply {s} {p} {site}/q.html").status, 0);
         t.EditIndex([](std::string& index) {
             const size_t size = index.find("page 0 ") + 7;
             index.replace(size, index.find(' ', size) - size, "99999999999999");
         });
     },
     "undo-apply", 1, "the journal's copy of it is damaged",
     [](AttackTest& t) { EXPECT_EQ(ReadBytes(t.Site() / "q.html"), kPageText) << "the other page is put back"; }},
    {"PageNamedThroughALinkAndDotDot",
     [](AttackTest& t) {
         fs::create_directories(t.Site() / "sub" / "deeper");
         fs::create_directory_symlink(t.Site() / "sub" / "deeper", t.Site() / "link");
         WriteBytes(t.Site() / "sub" / "p.html", kPageText);
         ASSERT_EQ(t.Cli("apply " + t.Quote((t.Site() / "s.css").string()) + " " +
                         t.Quote((t.Site() / "link" / ".." / "p.html").string())).status, 0);
     },
     "undo-apply", 0, "",
     [](AttackTest& t) {
         EXPECT_EQ(ReadBytes(t.Site() / "sub" / "p.html"), kPageText);
         JournalRun run;
         ASSERT_TRUE(ReadJournalRun(t.Journal().string(), "1", run));
         EXPECT_EQ(run.pages.at(0).path, (t.Site() / "sub" / "p.html").string());
     }},
};

TEST_P(AttackTest, EndsAsExpectedAndTouchesNothingOutside) {
    const Attack& a = GetParam();
    fs::create_directories(Site());
    fs::create_directories(Outside());
    WriteBytes(Outside() / "notes.txt", "the user's notes");
    WriteBytes(Page(), kPageText);
    Sheet("H1 { color: red }\n");
    if (a.plant) a.plant(*this);
    if (HasFatalFailure()) return;
    const auto outside = OutsideFiles();
    const std::string page = ReadBytes(Page());
    const CliRun r = Run(a.command);
    EXPECT_EQ(r.status, a.status) << r.err;
    if (*a.message) {
        EXPECT_NE(r.err.find(a.message), std::string::npos) << r.err;
    } else {
        EXPECT_EQ(r.err, "");
    }
    EXPECT_EQ(OutsideFiles(), outside);
    if (std::string(a.command).starts_with("preview") || a.status != 0) {
        EXPECT_EQ(ReadBytes(Page()), page) << "the page is whole";
    }
    if (a.check) a.check(*this);
    EXPECT_EQ(OutsideFiles(), outside);
}

INSTANTIATE_TEST_SUITE_P(Attacks, AttackTest, ::testing::ValuesIn(kAttacks),
                         [](const auto& info) { return std::string(info.param.name); });

// Output that cannot be written fails the command, whatever it printed.
TEST_F(HostileInputTest, OutputToAFullDeviceFails) {
    const std::string sheet = Write("s.css", "H1 { color: red }\n");
    const std::string page = Write("p.html", "<head></head>");
    for (const std::string& command : {std::string("--version"), "listing " + Quote(sheet), "apply " + Quote(sheet) + " " + Quote(page),
                                       std::string("undo-apply"), "preview " + Quote(sheet) + " " + Quote(page),
                                       "apply --dry-run " + Quote(sheet) + " " + Quote(page)}) {
        SCOPED_TRACE(command);
        const CliRun r = Shell("XDG_DATA_HOME=" + Quote(JournalHome().string()) + " " + Quote(LARKSPUR_CLI_PATH) + " " +
                               command + " >/dev/full 2>&1; echo $?");
        EXPECT_EQ(r.out, "1\n");
    }
}

}  // namespace
}  // namespace larkspur
