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

TEST_F(ReaderTest, SelectorsMatchIgnoringCaseAndNewOnesKeepTheirCase) {
    ASSERT_TRUE(Read("h1 { COLOR: red; color: blue }\r\n.Note { z-index: 2 }\r\n.NOTE {}\r\n"));
    const int h1 = doc.FindRule("H1");
    EXPECT_EQ(doc.RuleCount(), 57);
    EXPECT_EQ(doc.Rules()[56].selector, ".Note");
    // COLOR is none of the properties the pages edit: kept as written, in its place.
    EXPECT_EQ(doc.StyleSheetText(), "H1 {\r\nCOLOR: red;\r\ncolor: blue;\r\n}\r\n.Note {\r\n}\r\n");
    EXPECT_EQ(log.Take(), "append 56;check " + std::to_string(h1) + ";check 56;select 56;reload;");
    EXPECT_EQ(doc.SelectedIndex(), 56);
    EXPECT_TRUE(doc.IsChecked(h1));
    EXPECT_TRUE(doc.Modified());
}

TEST_F(ReaderTest, ListingFollowsTheFileAndTheWrittenSheetTheIndexOrder) {
    ASSERT_TRUE(Read("P { letter-spacing: 1em; text-decoration: underline; color: red }\n"
                     "B { font-weight: bold; font-weight: 900 }\n"));
    EXPECT_EQ(Lines(doc),
              "P{|letter-spacing: 1em;|text-decoration: underline;|color: red;|}|"
              "B{|font-weight: 900;|}|");
    EXPECT_EQ(doc.StyleSheetText(),
              "B {\r\nfont-weight: 900;\r\n}\r\n"
              "P {\r\ncolor: red;\r\ntext-decoration: underline;\r\nletter-spacing: 1em;\r\n}\r\n");
    EXPECT_EQ(doc.Rules()[static_cast<size_t>(doc.FindRule("B"))].pageState().fontWeight, "Black");
}

TEST_F(ReaderTest, RepeatedSelectorKeepsOnlyItsLastBlockListedAtTheEnd) {
    ASSERT_TRUE(Read("H1 { color: red; text-align: left }\n"
                     ".x { z-index: 1 }\n"
                     "h1 { font-style: italic }\n"
                     ".X { z-index: 2 }\n"
                     "P { clear: both }\n"
                     "H1 { float: left }\n"));
    EXPECT_EQ(Lines(doc), ".x{|z-index: 2;|}|P{|clear: both;|}|H1{|float: left;|}|");
    EXPECT_EQ(doc.StyleSheetText(),
              "H1 {\r\nfloat: left;\r\n}\r\nP {\r\nclear: both;\r\n}\r\n.x {\r\nz-index: 2;\r\n}\r\n");
    const StyleRule& h1 = doc.Rules()[static_cast<size_t>(doc.FindRule("H1"))];
    EXPECT_EQ(h1.pageState().colorOn + h1.pageState().textAlignOn + h1.pageState().fontStyleOn, 0);
    EXPECT_EQ(h1.pageState().cssFloat, "left");
    EXPECT_EQ(doc.Rules()[56].pageState().zIndex, "2");
    EXPECT_EQ(doc.SelectedIndex(), doc.FindRule("H1"));
    // Line bookkeeping agrees with the listing.
    for (const StyleRule& r : doc.Rules())
        if (r.listed) { EXPECT_EQ(doc.GetListing().Line(r.firstLine + r.lineCount), "}") << r.selector; }
}

TEST_F(ReaderTest, DeclarationSeparatorsAndBrokenDeclarations) {
    struct Case {
        const char* sheet;
        const char* listing;
    };
    const Case cases[] = {
        // A segment with no colon before its ";" is skipped, not glued to the next.
        {"H1 { junk; color: red; ; text-align:center }", "H1{|color: red;|text-align: center;|}|"},
        // No colon left: the rule is finished.
        {"H1 { color: red; trailing words }", "H1{|color: red;|}|"},
        // The last declaration needs no ";".
        {"H1{color:red}", "H1{|color: red;|}|"},
        // Tabs, line ends, form feeds and vertical tabs are blanks.
        {"\tH1\t{\n\tcolor:\tred;\r\n\f\vz-index:\v3\t;\n}\n", "H1{|color: red;|z-index: 3;|}|"},
        // A colon inside the value stays in it.
        {"H1 { background-image: url(http://a/b.gif) }",
         "H1{|background-image: url(http://a/b.gif);|}|"},
        // A comment between rules is kept on its own, not glued to the selector.
        {"/* head */ H1 { color: red }", "/* head */|H1{|color: red;|}|"},
        // A stray "}" before the "{" is text of the selector, not a block end.
        {"H1 { color: red }} P { clear: left }", "H1{|color: red;|}|} P{|clear: left;|}|"},
        // The end of the text closes an open block, as in a browser.
        {"H1 { color: red } P { clear: left", "H1{|color: red;|}|P{|clear: left;|}|"},
        // No block at all: nothing listed.
        {"just text without braces", ""},
        {"", ""},
        // Child selectors survive in a bare sheet.
        {"UL > LI { color: red }", "UL > LI{|color: red;|}|"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sheet);
        doc.CreateStartRules();
        ASSERT_TRUE(Read(c.sheet));
        EXPECT_EQ(Lines(doc), c.listing);
    }
}

TEST_F(ReaderTest, ReadingResetsEveryRuleAndKeepsRulesCreatedEarlier) {
    ASSERT_TRUE(Read(".a { color: red }\nP { clear: both }\n"));
    doc.SetModified(false);
    log.Take();
    const int p = doc.FindRule("P");
    ASSERT_TRUE(Read("H1 { z-index: 1 }"));
    EXPECT_EQ(doc.RuleCount(), 57);  // .a stays, reset
    EXPECT_FALSE(doc.IsChecked(56));
    EXPECT_FALSE(doc.IsChecked(p));
    EXPECT_EQ(doc.Rules()[56].pageState().colorOn, 0);
    EXPECT_EQ(doc.Rules()[static_cast<size_t>(p)].properties[kClear].changed, 0);
    EXPECT_EQ(Lines(doc), "H1{|z-index: 1;|}|");
    const int h1 = doc.FindRule("H1");
    EXPECT_EQ(log.Take(), std::string("uncheck ") + std::to_string(p) + ";uncheck 56;check " +
                              std::to_string(h1) + ";select " + std::to_string(h1) + ";reload;");
}

TEST_F(ReaderTest, SheetWithoutRulesStillResets) {
    ASSERT_TRUE(Read("H1 { color: red }"));
    ASSERT_TRUE(Read("\r\n"));
    EXPECT_EQ(doc.GetListing().Count(), 0);
    EXPECT_EQ(doc.StyleSheetText(), "");
    EXPECT_FALSE(doc.IsChecked(doc.FindRule("H1")));
}

struct ExtentCase {
    const char* name;
    std::string text;
    const char* path;
    const char* sheet;
};

const ExtentCase kExtentCases[] = {
    {"bare sheet drops one CRLF", "H1{}\r\n\r\n", "a.css", "H1{}\r\n"},
    {"bare sheet drops one LF", "H1{}\n", "a.css", "H1{}"},
    {"bare sheet without line end keeps all", "H1{}", "a.CSS", "H1{}"},
    {"bare sheet keeps text up to >", "UL > LI{}\n", "a.css", "UL > LI{}"},
    {"bare sheet has no end tag", "A{background-image: url(/styles/a.gif)}", "a.css",
     "A{background-image: url(/styles/a.gif)}"},
    {"bare sheet drops through <!--", "<!--\nH1{}\n-->\n", "a.css", "\nH1{}\n-->"},
    {"page", "<html><head><STYLE type=\"text/css\">\r\n<!--\r\nH1 {\r\n}\r\n-->\r\n</STYLE></head>",
     "p.html", "\r\nH1 {\r\n}\r\n-->\r\n"},
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
    EXPECT_EQ(doc.StyleSheetText(), "P {\r\nclear: both;\r\n}\r\n");
    fs::remove_all(dir);
}

}  // namespace
}  // namespace larkspur
