#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "css/sheet_document.h"
#include "css/style_sheet_reader.h"
#include "model/vocabulary.h"

namespace larkspur {
namespace {

namespace fs = std::filesystem;

class EventLog : public SheetObserver {
public:
    void RuleAppended(int i) override { out << "append " << i << ";"; }
    void RuleCheckChanged(int i, bool c) override { out << (c ? "check " : "uncheck ") << i << ";"; }
    void RuleSelected(int i) override { out << "select " << i << ";"; }
    void PagesNeedReload() override { out << "reload;"; }
    void RulesReset() override { out << "reset;"; }
    std::string Take() {
        std::string s = out.str();
        out.str("");
        return s;
    }
    std::ostringstream out;
};

// Everything a read may change, in one text.
std::string Dump(const SheetDocument& doc) {
    std::ostringstream out;
    out << "rules " << doc.RuleCount() << " selected " << doc.SelectedIndex() << "\n";
    for (int i = 0; i < doc.RuleCount(); ++i)
        if (doc.IsChecked(i) || doc.Rules()[static_cast<size_t>(i)].listed)
            out << doc.Rules()[static_cast<size_t>(i)].selector << (doc.IsChecked(i) ? " checked" : "")
                << "\n";
    for (const std::string& line : doc.GetListing().Lines()) out << line << "|";
    out << "\n" << doc.StyleSheetText();
    return out.str();
}

std::string Lines(const SheetDocument& doc) {
    std::string out;
    for (const std::string& line : doc.GetListing().Lines()) out += line + "|";
    return out;
}

class ReaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        doc.CreateStartRules();
        doc.SetObserver(&log);
    }
    IoResult Read(std::string_view text, std::string_view path = "sheet.css") {
        return doc.ReadStyleSheetText(text, path);
    }
    SheetDocument doc;
    EventLog log;
};

// What the pages show of a rule: each declaration they would write.
std::string Shown(const SheetDocument& doc, int rule) {
    std::string out;
    for (const PropertyEntry& e : doc.Rule(rule).properties)
        if (e.listed) out += e.ComposeDeclaration() + ";";
    return out;
}

TEST_F(ReaderTest, EveryBlockIsARuleAndSelectorsMatchIgnoringCase) {
    const std::string sheet = "h1 { COLOR: red; color: blue }\r\n.Note { z-index: 2 }\r\n.NOTE {}\r\n";
    ASSERT_TRUE(Read(sheet));
    const int h1 = doc.FindRule("H1");
    ASSERT_EQ(doc.RuleCount(), 58);
    EXPECT_EQ(doc.Rules()[56].selector, ".Note");
    EXPECT_EQ(doc.Rules()[57].selector, ".NOTE");
    EXPECT_EQ(doc.FindRule(".note"), 56) << "the first block of a selector";
    EXPECT_EQ(doc.StyleSheetText(), sheet);
    EXPECT_EQ(Shown(doc, h1), "color: blue;");
    EXPECT_EQ(log.Take(), "reset;check " + std::to_string(h1) + ";append 56;check 56;append 57;check 57;select 57;reload;");
    EXPECT_TRUE(doc.Modified());
}

// Each block keeps its place and its own values: a later rule of the same
// weight still wins, as it did in the file.
TEST_F(ReaderTest, BlocksKeepTheirPlaceAndTheirOwnValues) {
    const std::string sheet =
        "dl, ol, ul { list-style: none }\n"
        "ol { letter-spacing: 1em }\n"
        "h1 { color: red }\n"
        ".x { color: blue }\n"
        "H1 { font-style: italic }\n"
        "h1 { float: left; color: green }\n";
    ASSERT_TRUE(Read(sheet));
    EXPECT_EQ(doc.StyleSheetText(), sheet);
    const int first = doc.FindRule("H1");
    ASSERT_EQ(doc.RuleCount(), 56 + 4);
    EXPECT_EQ(Shown(doc, doc.FindRule("OL")), "letter-spacing: 1em;");
    EXPECT_EQ(Shown(doc, first), "color: red;");
    EXPECT_EQ(Shown(doc, 58), "font-style: italic;");
    EXPECT_EQ(Shown(doc, 59), "color: green;float: left;");
    EXPECT_EQ(doc.PlaceOf(59).line, 6u);
    // An edit of the second h1 block changes that block alone.
    doc.SetValue(58, kFontStyle, "normal");
    doc.SetValue(59, kColor, "");
    EXPECT_EQ(doc.StyleSheetText(),
              "dl, ol, ul { list-style: none }\nol { letter-spacing: 1em }\nh1 { color: red }\n"
              ".x { color: blue }\nH1 { font-style: normal }\nh1 { float: left; }\n");
    // Reading the sheet again fills the same rules, block by block.
    ASSERT_TRUE(Read(sheet));
    EXPECT_EQ(doc.RuleCount(), 60);
    EXPECT_EQ(doc.StyleSheetText(), sheet);
}

// Rules inside @media and @supports are rules of their own, found through
// the list, not by selector, and edited in place.
TEST_F(ReaderTest, RulesInsideAtRulesAreEditedInPlace) {
    ASSERT_TRUE(Read("a { color: red }\n@media print {\n  a { color: black }\n  @supports (display: grid) {\n"
                     "    .g { float: left }\n  }\n}\n@font-face { font-family: X }\n"));
    ASSERT_EQ(doc.RuleCount(), 58);
    EXPECT_EQ(doc.ContextOf(doc.FindRule("A")), "");
    EXPECT_EQ(doc.Rule(56).selector, "a");
    EXPECT_EQ(doc.ContextOf(56), "@media print");
    EXPECT_EQ(doc.ContextOf(57), "@media print, @supports (display: grid)");
    EXPECT_EQ(doc.FindRule(".g"), -1);
    doc.SetValue(56, kColor, "gray");
    doc.SetValue(57, kClear, "both");
    EXPECT_EQ(doc.StyleSheetText(),
              "a { color: red }\n@media print {\n  a { color: gray }\n  @supports (display: grid) {\n"
              "    .g { float: left; clear: both; }\n  }\n}\n@font-face { font-family: X }\n");
    // Another sheet takes the rules of the old one's at-rules with it.
    ASSERT_TRUE(Read("p{}"));
    EXPECT_EQ(doc.RuleCount(), 56);
}

// A context is named by the at-rules around it, the innermost eight at most;
// the same at-rule in the same place is one context wherever it is written.
TEST_F(ReaderTest, ContextsOfDeeplyNestedRules) {
    std::string sheet;
    for (int i = 0; i < 12; ++i) sheet += "@media m" + std::to_string(i) + " {";
    sheet += "p { color: red }" + std::string(12, '}') + "\n@media m0 { q { color: red } }\n@media\n m0 {q{}}\n";
    ASSERT_TRUE(Read(sheet));
    ASSERT_EQ(doc.RuleCount(), 59);
    EXPECT_EQ(doc.ContextOf(56), "..., @media m4, @media m5, @media m6, @media m7, @media m8, @media m9, @media m10, "
                                 "@media m11");
    EXPECT_EQ(doc.ContextOf(57), "@media m0");
    EXPECT_EQ(doc.PlaceOf(58).context, doc.PlaceOf(57).context);
    EXPECT_EQ(doc.StyleSheetText(), sheet);
}

TEST_F(ReaderTest, DeclarationSeparatorsAndBrokenDeclarations) {
    struct Case {
        const char* sheet;
        const char* shown;
    };
    const Case cases[] = {
        // A segment with no colon before its ";" is skipped, not glued to the next.
        {"H1 { junk; color: red; ; text-align:center }", "color: red;text-align: center;"},
        {"H1 { color: red; trailing words }", "color: red;"},
        {"H1{color:red}", "color: red;"},
        // Tabs, line ends, form feeds and vertical tabs are blanks.
        {"\tH1\t{\n\tcolor:\tred;\r\n\f\vz-index:\v3\t;\n}\n", "color: red;z-index: 3;"},
        // A colon inside the value stays in it.
        {"H1 { background-image: url(http://a/b.gif) }", "background-image: url(http://a/b.gif);"},
        {"/* head */ H1 { color: red }", "color: red;"},
        // The end of the text closes an open block, as in a browser.
        {"P { clear: left } H1 { color: red", "color: red;"},
        // "!important" and comments in a value stay as written, for no page.
        {"H1 { color: red !important; z-index: 1 /* a */ }", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sheet);
        doc.CreateStartRules();
        ASSERT_TRUE(Read(c.sheet));
        EXPECT_EQ(Shown(doc, doc.FindRule("H1")), c.shown);
    }
    for (const char* none : {"just text without braces", ""}) {
        ASSERT_TRUE(Read(none));
        EXPECT_EQ(doc.StyleSheetText(), "");
    }
}

TEST_F(ReaderTest, OpenReplacesTheSheetWithTheStartRulesAndTheFilesBlocks) {
    ASSERT_TRUE(Read(".a { color: red }\nP { clear: both }\n@media print { .b { top: 0 } }\n"));
    doc.AppendRule(".made");
    doc.SetModified(false);
    log.Take();
    ASSERT_TRUE(Read("h1 { z-index: 1 }"));
    // Nothing of the sheet before: 56 tag rules, the first named as read.
    EXPECT_EQ(doc.RuleCount(), 56);
    EXPECT_EQ(doc.FindRule(".a"), -1);
    EXPECT_EQ(doc.FindRule(".made"), -1);
    const int p = doc.FindRule("P");
    EXPECT_FALSE(doc.IsChecked(p));
    EXPECT_EQ(doc.Rules()[static_cast<size_t>(p)].properties[kClear].changed, 0);
    EXPECT_EQ(doc.StyleSheetText(), "h1 { z-index: 1 }");
    const int h1 = doc.FindRule("H1");
    EXPECT_EQ(doc.Rule(h1).selector, "h1");
    EXPECT_EQ(log.Take(), "reset;check " + std::to_string(h1) + ";select " + std::to_string(h1) + ";reload;");
}

// What stands before the first rule and the file's line ends stay as read,
// also when that rule is renamed, and a rule added goes on a line of its own.
TEST_F(ReaderTest, StartOfFileAndLineEndsAreKeptByteForByte) {
    struct Case {
        const char* sheet;
        const char* renamed;  // after renaming the first rule read to ".x"
        const char* added;    // and then adding a listed rule ".y {}"
    } const cases[] = {
        {"\xEF\xBB\xBF@charset \"UTF-8\";\n/* c */\n.gr\xC3\xBC\xC3\x9F""e { color: red }\n",
         "\xEF\xBB\xBF@charset \"UTF-8\";\n/* c */\n.x { color: red }\n",
         "\xEF\xBB\xBF@charset \"UTF-8\";\n/* c */\n.x { color: red }\n.y {\n}\n"},
        {"a{top:0}\nb{top:1}", ".x{top:0}\nb{top:1}", nullptr},
        {"a{top:0}\r\nb{top:1}", nullptr, "a{top:0}\r\nb{top:1}\r\n.y {\r\n}"},
        {"a{top:0}\rb{top:1}\r", nullptr, "a{top:0}\rb{top:1}\r.y {\r}\r"},
        {"a{top:0}\n\n", nullptr, "a{top:0}\n\n.y {\n}\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sheet);
        ASSERT_TRUE(Read(c.sheet));
        EXPECT_EQ(doc.StyleSheetText(), c.sheet);
        const int first = doc.RuleCount() > 56 ? 56 : doc.FindRule("A");
        if (c.renamed) {
            doc.RenameRule(first, ".x");
            EXPECT_EQ(doc.StyleSheetText(), c.renamed);
        }
        if (c.added) {
            doc.CheckRule(doc.AppendRule(".y"), true);
            EXPECT_EQ(doc.StyleSheetText(), c.added);
        }
    }
}

TEST_F(ReaderTest, SheetWithoutRulesStillResets) {
    ASSERT_TRUE(Read("H1 { color: red }"));
    ASSERT_TRUE(Read("\r\n"));
    EXPECT_EQ(doc.GetListing().Count(), 0);
    EXPECT_EQ(doc.StyleSheetText(), "");
    EXPECT_FALSE(doc.IsChecked(doc.FindRule("H1")));
}

// A rule added after one inside at-rules stands in them, right after it and
// after those added there before, set out as it is; taken out again, the
// text is as read.
TEST_F(ReaderTest, ARuleAddedAfterARuleReadStandsInItsAtRules) {
    const struct {
        const char* sheet;
        const char* added;  // after adding .n, then .m, after a
    } cases[] = {
        {"@media print {\n  a { top: 0 }\n  b { top: 1 }\n}\n",
         "@media print {\n  a { top: 0 }\n  .n {\n  }\n  .m {\n  }\n  b { top: 1 }\n}\n"},
        {"@media print {\r\n\ta { top: 0 }\r\n}", "@media print {\r\n\ta { top: 0 }\r\n\t.n {\r\n\t}\r\n\t.m {\r\n\t}\r\n}"},
        {"@media print{a{top:0}b{top:1}}", "@media print{a{top:0}.n {}.m {}b{top:1}}"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sheet);
        ASSERT_TRUE(Read(c.sheet));
        const int a = 56;
        ASSERT_EQ(doc.Rule(a).selector, "a");
        const int n = doc.AppendRuleAfter(a, ".n");
        const int m = doc.AppendRuleAfter(a, ".m");
        EXPECT_EQ(doc.StyleSheetText(), c.added);
        EXPECT_EQ(doc.ContextOf(m), "@media print");
        EXPECT_TRUE(doc.IsChecked(n) && doc.IsChecked(m));
        // Out of the sheet and back, and removed: the text follows exactly.
        doc.CheckRule(n, false);
        doc.CheckRule(n, true);
        EXPECT_EQ(doc.StyleSheetText(), c.added);
        doc.RemoveRule(m);
        doc.RemoveRule(n);
        EXPECT_EQ(doc.StyleSheetText(), c.sheet);
    }
}

struct ExtentCase {
    const char* name;
    std::string text;
    const char* path;
    const char* sheet;
};

const ExtentCase kExtentCases[] = {
    {"bare sheet is the whole text", "H1{}\r\n\r\n", "a.css", "H1{}\r\n\r\n"},
    {"bare sheet without line end keeps all", "H1{}", "a.CSS", "H1{}"},
    {"bare sheet keeps text up to >", "UL > LI{}\n", "a.css", "UL > LI{}\n"},
    {"bare sheet has no end tag", "A{background-image: url(/styles/a.gif)}", "a.css",
     "A{background-image: url(/styles/a.gif)}"},
    {"bare sheet drops a leading <!--", "<!--\nH1{}\n-->\n", "a.css", "\nH1{}\n-->\n"},
    // Only a leading one: a "<!--" further on is text of the sheet.
    {"bare sheet keeps a later <!--", "P{content:'<!--'}", "a.css", "P{content:'<!--'}"},
    {"page", "<html><head><STYLE type=\"text/css\">\r\n<!--\r\nH1 {\r\n}\r\n-->\r\n</STYLE></head>",
     "p.html", "H1 {\r\n}\r\n-->"},
    {"page tags in any case", "<Style>B{}</sTyLe>", "p.htm", "B{}"},
    {"/style inside a value is no end tag", "<style>A{background-image: url(/style/a.gif)}</style>",
     "p.html", "A{background-image: url(/style/a.gif)}"},
    {"first end tag after the start tag", "</style><style>A{}</style>B{}</style>", "p.html", "A{}"},
    {"start tag never closed", "<style A{} </style>", "p.html", ""},
    {"quoted > in the start tag", "<html><head><style title=\"a>b\">H1{color:blue}</style></head></html>",
     "p.html", "H1{color:blue}"},
    {"quoted > in a .css file's style tag", "<style media='x>y' id=z>A{}</style>", "a.css", "A{}"},
    {"style tag in a .css file without end tag", "x<style>A{}", "a.css", "A{}"},
    {"path is judged by its ending only", "A{}", "dir.css/fileCSS", "A{}"},
};

class SheetExtentTest : public ::testing::TestWithParam<ExtentCase> {};

TEST_P(SheetExtentTest, FindsTheSheetText) {
    std::string_view sheet;
    ASSERT_TRUE(FindSheetText(GetParam().text, GetParam().path, sheet));
    EXPECT_EQ(sheet, GetParam().sheet);
}

INSTANTIATE_TEST_SUITE_P(Cases, SheetExtentTest, ::testing::ValuesIn(kExtentCases),
                         [](const auto& info) {
                             std::string n = info.param.name;
                             for (char& c : n)
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             return n;
                         });

TEST_F(ReaderTest, RejectedTextLeavesTheSheetUntouched) {
    struct Case {
        std::string text;
        const char* path;
        std::string_view message;
    };
    const Case cases[] = {
        {"<html><body>H1{color:red}</body></html>", "page.html", kNoStyleTagMessage},
        {"H1{color:red}", "sheet.txt", kNoStyleTagMessage},
        {"<html><style>H1{color:red}", "page.html", kNoClosingStyleTagMessage},
        {"<style>H1{color:red}/style>", "page.htm", kNoClosingStyleTagMessage},
        {std::string("H1{color:red}\0P{}", 17), "sheet.css", kBinaryDataMessage},
        {std::string("<style>\0</style>", 16), "page.html", kBinaryDataMessage},
        {std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), "image.css", kBinaryDataMessage},
    };
    ASSERT_TRUE(Read(".keep { color: red }\nP { clear: both }\n"));
    const std::string before = Dump(doc);
    log.Take();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        IoResult r = Read(c.text, c.path);
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.error, c.message);
        EXPECT_EQ(Dump(doc), before);
        EXPECT_EQ(log.Take(), "");
    }
    EXPECT_EQ(kNoStyleTagMessage, "Invalid Style Sheet: No <STYLE> tag");
    EXPECT_EQ(kNoClosingStyleTagMessage, "Invalid Style Sheet: No closing </STYLE> tag");
}

TEST_F(ReaderTest, UnreadableFilesAreRejectedWithTheFileMessage) {
    const fs::path dir = fs::temp_directory_path() / ("larkspur-reader-" + std::to_string(::getpid()));
    fs::create_directories(dir / "folder.css");
    ASSERT_TRUE(Read("H1 { color: red }"));
    const std::string before = Dump(doc);
    for (const fs::path& p : {dir / "missing.css", dir / "folder.css"}) {
        SCOPED_TRACE(p.string());
        std::string ignored;
        IoResult expected = ReadWholeFile(p.string(), ignored);
        IoResult r = doc.ReadStyleSheet(p.string());
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.error, expected.error);
        EXPECT_NE(r.error.find(p.string()), std::string::npos);
        EXPECT_EQ(Dump(doc), before);
    }
    {
        std::ofstream(dir / "page.html") << "<html><style>\r\n<!--\r\nP { clear: both }\r\n-->\r\n</style>";
    }
    ASSERT_TRUE(doc.ReadStyleSheet((dir / "page.html").string()));
    EXPECT_EQ(doc.StyleSheetText(), "P { clear: both }\r\n");
    fs::remove_all(dir);
}

}  // namespace
}  // namespace larkspur
