#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "css/css_scan.h"
#include "css/html_embed.h"
#include "css/sheet_document.h"

namespace larkspur {
namespace {

const std::string kBlock = "<style type=\"text/css\">\r\n<!--\r\nH1 {\r\n}\r\n-->\r\n</style>";
constexpr char B[] = "[B]";  // stands for kBlock in the expected texts

std::string Expand(std::string text) {
    for (size_t at; (at = text.find(B)) != std::string::npos;) text.replace(at, 3, kBlock);
    return text;
}

struct PlaceCase {
    const char* name;
    std::string page;
    std::string expected;  // "[B]" marks the block
};

class PlaceStyleBlockTest : public ::testing::TestWithParam<PlaceCase> {};

TEST_P(PlaceStyleBlockTest, PlacesBlockAndKeepsTheRest) {
    const PlaceCase& c = GetParam();
    EXPECT_EQ(PlaceStyleBlock(c.page, kBlock), Expand(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Pages, PlaceStyleBlockTest,
    ::testing::Values(
        PlaceCase{"TwoInHeadBecomeOneAtTheSecond",
                  "<html><head><style>a{}</style>\r\n<title>t</title><STYLE type=x>b</STYLE>\r\n</head>",
                  "<html><head>\r\n<title>t</title>[B]\r\n</head>"},
        PlaceCase{"NoStyleGoesDirectlyBeforeHeadEnd",
                  "<HTML><Head><title>x</title>\n</Head><body>\n",
                  "<HTML><Head><title>x</title>\n[B]</Head><body>\n"},
        PlaceCase{"StyleInBodyOnlyIsRemovedAndBlockGoesIntoHead",
                  "<head></head><body><Style>p{}</Style>text</body>",
                  "<head>[B]</head><body>text</body>"},
        PlaceCase{"StylesInHeadAndBodyLeaveOneInTheHead",
                  "<head><style>a</style></head><body><style>b</style>x",
                  "<head>[B]</head><body>x"},
        PlaceCase{"MixedCaseTagsFoundAndPageCaseKept",
                  "<hEaD><TiTlE>Ab</TiTlE><sTyLe>x</StYlE></HeAd>",
                  "<hEaD><TiTlE>Ab</TiTlE>[B]</HeAd>"},
        PlaceCase{"UnclosedStyleAfterHeadIsKept",
                  "<head></head><body><style>p{color:red}\r\n</body>",
                  "<head>[B]</head><body><style>p{color:red}\r\n</body>"},
        PlaceCase{"UnclosedStyleInHeadStaysBehindTheBlock",
                  "<head><title>t</title><style>p{}</head><body>",
                  "<head><title>t</title>[B]<style>p{}</head><body>"},
        PlaceCase{"CompleteThenUnclosed",
                  "<head><style>a</style><style>b</head>",
                  "<head>[B]<style>b</head>"},
        PlaceCase{"EndTagIsOnlySearchedAfterItsStartTag",
                  "x</style><head><style>a</style></head>",
                  "x</style><head>[B]</head>"},
        PlaceCase{"HeadEndInsideStyleTextIsNotTheHeadEnd",
                  "<p>a</p><style>/* </head> */</style><p>b</p>",
                  "<p>a</p>[B]<p>b</p>"},
        PlaceCase{"HeadStartWithoutEndTag",
                  "<html><head><title>t</title><body>x",
                  "<html><head>[B]<title>t</title><body>x"},
        PlaceCase{"NoHeadAfterHtmlStartTag",
                  "<!DOCTYPE html>\r\n<html lang=\"en\">\r\n<body>x</body></html>",
                  "<!DOCTYPE html>\r\n<html lang=\"en\"><HEAD>[B]</HEAD>\r\n<body>x</body></html>"},
        PlaceCase{"NoHtmlAfterLeadingDoctype",
                  "\xEF\xBB\xBF <!doctype html>\n<p>\xE9t\xE9</p>",
                  "\xEF\xBB\xBF <!doctype html><HEAD>[B]</HEAD>\n<p>\xE9t\xE9</p>"},
        PlaceCase{"HeaderElementIsNotAHead",
                  "<body><header>h</header></body>",
                  "<HEAD>[B]</HEAD><body><header>h</header></body>"},
        PlaceCase{"FragmentWithStyleKeepsItsPlace",
                  "<p>a</p>\n<style>x</style>\n<p>b",
                  "<p>a</p>\n[B]\n<p>b"},
        PlaceCase{"EmptyPage", "", "<HEAD>[B]</HEAD>"},
        // Their style elements are the drawing's, the template's and the
        // fallback's own content, not the page's sheet.
        PlaceCase{"StylesOfDrawingsTemplatesAndNoscriptStay",
                  "<head><NOSCRIPT><style>n{}</style></NOSCRIPT></head><body><Svg><style>c{}</style><g/></svg>"
                  "<template><style>t{}</style><template></template></template><math><style>m{}</style></math>",
                  "<head><NOSCRIPT><style>n{}</style></NOSCRIPT>[B]</head><body><Svg><style>c{}</style><g/></svg>"
                  "<template><style>t{}</style><template></template></template><math><style>m{}</style></math>"},
        PlaceCase{"UnclosedTemplateHoldsTheRest", "<html><template><head><style>t{}</style></head>",
                  "<html><HEAD>[B]</HEAD><template><head><style>t{}</style></head>"},
        PlaceCase{"SelfClosedDrawingHoldsNothing", "<head><style>a{}</style></head><svg/><style>b{}</style>",
                  "<head>[B]</head><svg/>"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(HtmlPieces, RemoveAndInsertKeepOtherBytes) {
    EXPECT_EQ(RemoveStyleElements("a<STYLE>x</style>b<style>y"), "ab<style>y");
    EXPECT_FALSE(HasStyleElement("<style>never closed"));
    EXPECT_TRUE(HasStyleElement("<Style></STYLE>"));
    // Inserting never removes: a kept page style stays ahead of the sheet.
    EXPECT_EQ(InsertStyleBlock("<head><style>a</style></head>", "[S]"),
              "<head><style>a</style>[S]</head>");
}

TEST(HtmlPieces, NewPageHoldsBlockInItsHead) {
    std::string page = NewPageText(kBlock, "a&b<c>");
    EXPECT_EQ(page,
              "<!DOCTYPE html>\r\n<html>\r\n<head>\r\n<title>a&amp;b&lt;c&gt;</title>\r\n" + kBlock +
                  "\r\n</head>\r\n<body>\r\n</body>\r\n</html>\r\n");
    // Saving into it again replaces the block in place.
    EXPECT_EQ(PlaceStyleBlock(page, "<style>new</style>"),
              NewPageText("<style>new</style>", "a&b<c>"));
}

// Generated pages: pieces of text, comments, head tags and style elements in
// any case, perhaps ending with an unclosed "<style". The test knows which
// pieces are style elements, so it needs no scanner of its own.
struct GeneratedPage {
    std::string text;
    std::string outside;  // the text without its style elements
    bool hasHeadTag = false;
    bool hasHeadEnd = false;
    bool hasElement = false;
    bool hasUnclosed = false;
};

std::string RandomCase(std::mt19937& rng, std::string_view word) {
    std::string out(word);
    for (char& c : out)
        if (rng() & 1) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
    return out;
}

GeneratedPage Generate(std::mt19937& rng) {
    static const std::vector<std::string> kText = {
        "lorem ipsum", "\r\n", "\n", "style head", "<p>", "</p>", "<!-- a comment -->",
        "<!--\r\nmore -->", "\xE9\xFC\xA0", "<header>h</header>", "<html>", "<body>",
        "<title>T</title>", "&amp;", "\t", "<link rel=stylesheet href=\"x.css\">"};
    static const std::vector<std::string> kCss = {"", "p{color:red}", "\r\n<!--\r\nH1 {}\r\n-->\r\n",
                                                  "a > b {}", "/* </p> */"};
    GeneratedPage g;
    auto addText = [&](const std::string& t) {
        g.text += t;
        g.outside += t;
    };
    bool headOpen = rng() % 4 != 0;
    if (rng() % 3 == 0) addText("<!DOCTYPE html>\r\n");
    int pieces = 1 + static_cast<int>(rng() % 14);
    for (int i = 0; i < pieces; ++i) {
        int kind = static_cast<int>(rng() % 10);
        if (kind < 6) {
            addText(kText[rng() % kText.size()]);
        } else if (kind < 8) {
            std::string element = "<" + RandomCase(rng, "style") + (rng() & 1 ? " type=\"text/css\">" : ">") +
                                  kCss[rng() % kCss.size()] + "</" + RandomCase(rng, "style") + ">";
            g.text += element;
            g.hasElement = true;
        } else if (kind == 8 && headOpen && !g.hasHeadTag) {
            addText("<" + RandomCase(rng, "head") + ">");
            g.hasHeadTag = true;
        } else if (kind == 9 && headOpen && !g.hasHeadEnd) {
            addText("</" + RandomCase(rng, "head") + ">");
            g.hasHeadEnd = true;
        }
    }
    if (rng() % 5 == 0) {
        addText("<" + RandomCase(rng, "style") + ">p{} " + kText[rng() % kText.size()]);
        g.hasUnclosed = true;
    }
    return g;
}

std::string UpperCopy(const std::string& text) {
    std::string upper;
    for (char c : text) upper += static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
    return upper;
}

size_t CountIgnoringCase(const std::string& text, std::string_view needle) {
    std::string upper = UpperCopy(text);
    size_t count = 0;
    for (size_t at = upper.find(needle); at != std::string::npos; at = upper.find(needle, at + 1))
        ++count;
    return count;
}

TEST(HtmlPlaceProperty, OutsideTextSurvivesAndOneElementRemains) {
    std::mt19937 rng(20240611);
    for (int n = 0; n < 3000; ++n) {
        GeneratedPage g = Generate(rng);
        SCOPED_TRACE("page #" + std::to_string(n) + ": [" + g.text + "]");
        std::string result = PlaceStyleBlock(g.text, kBlock);

        bool wrapped = !g.hasHeadTag && !g.hasHeadEnd && !g.hasElement;
        std::string placed = wrapped ? "<HEAD>" + kBlock + "</HEAD>" : kBlock;
        size_t at = result.find(placed);
        ASSERT_NE(at, std::string::npos);
        std::string rest = result;
        rest.erase(at, placed.size());
        ASSERT_EQ(rest, g.outside);

        EXPECT_EQ(CountIgnoringCase(result, "/STYLE>"), 1u);
        EXPECT_EQ(CountIgnoringCase(result, "<STYLE"), g.hasUnclosed ? 2u : 1u);
        std::string upper = UpperCopy(result);
        // The block never lands in the text an unclosed "<style" swallows,
        // and a page with a head end tag gets it inside the head.
        if (g.hasUnclosed) { EXPECT_LT(at, upper.rfind("<STYLE")); }
        if (g.hasHeadEnd) { EXPECT_LT(at, upper.find("</HEAD>")); }
        // Placing again is stable: the block replaces itself.
        EXPECT_EQ(PlaceStyleBlock(result, kBlock), result);
    }
}

// Sheets holding "</style" in every place CSS has, in any case, put into
// generated pages: the page holds one style element of ours, which ends where
// the sheet does and reads back as the same sheet, rules and all.
TEST(HtmlPlaceProperty, StyleEndTagsInTheSheetStayInside) {
    const std::vector<std::string> kPieces = {
        "H1 { color: red }\n", "/* </style><script>alert(1)</script> */\n", "p::after { content: \"</STYLE>\" }\n",
        "q::before { content: '\\</style' }\n", ".u { background: url(</style>) }\n", "a</StYlE/b { color: red }\n",
        "i\\</style { color: red }\n", ".v { --x: </style > }\n", "@media </style> { em { color: red } }\n",
        "</style></style></style>\n", "<</style\n", "/* a */ b{} /*</style*/\n"};
    const std::vector<std::string> kEnds = {"", "/* </style", "s { content: \"</style", "t { x: url(</style"};
    std::mt19937 rng(32);
    for (int n = 0; n < 2000; ++n) {
        std::string sheet;
        for (int i = 0, count = 1 + static_cast<int>(rng() % 5); i < count; ++i) sheet += kPieces[rng() % kPieces.size()];
        sheet += kEnds[rng() % kEnds.size()];
        const std::string page = Generate(rng).text;
        SCOPED_TRACE("sheet [" + sheet + "] page [" + page + "]");
        SheetDocument doc;
        doc.CreateStartRules();
        ASSERT_TRUE(doc.ReadStyleSheetText(sheet, "s.css"));
        const std::string block = doc.BuildStyleBlock();
        EXPECT_EQ(CountIgnoringCase(block, "</STYLE"), 1u) << block;

        const std::string placed = PlaceStyleBlock(page, block);
        const size_t at = placed.find(block);
        ASSERT_NE(at, std::string::npos);
        std::string outside = placed;
        outside.erase(at, block.size());
        EXPECT_EQ(RemoveStyleElements(placed), outside) << "the block is one element, ending where it ends";
        EXPECT_EQ(PlaceStyleBlock(placed, block), placed) << "a second apply changes nothing";

        SheetDocument back;
        back.CreateStartRules();
        ASSERT_TRUE(back.ReadStyleSheetText(placed, "p.html"));
        EXPECT_EQ(back.BuildStyleBlock(), block);
        EXPECT_EQ(back.RuleCount(), doc.RuleCount());
        std::string written;
        css_scan::AppendInStyleElement(written, doc.StyleSheetText());
        // A page's sheet ends with a line end before the end tag.
        if (!written.empty() && !written.ends_with('\n')) written += back.LineEnd();
        EXPECT_EQ(back.StyleSheetText(), written);
    }
}

}  // namespace
}  // namespace larkspur
