// Pages in other encodings, and tags hidden where they are no tags: one table
// run through the core (PlaceStyleBlock, RemoveStyleElements) and through
// `larkspur-cli apply` on real files.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include "cli_fixture.h"
#include "css/html_embed.h"
#include "css/sheet_document.h"

namespace larkspur {
namespace {

using namespace larkspur::testing;

constexpr char B[] = "[B]";  // stands for the style block in expected pages

struct PageCase {
    const char* name;
    std::string page;
    std::string expected;  // "[B]" marks the block; empty: the page is refused
    const char* error = nullptr;
};

class PageTextTest : public CliFixture, public ::testing::WithParamInterface<PageCase> {};

std::string Expand(std::string text, const std::string& block) {
    for (size_t at; (at = text.find(B)) != std::string::npos;) text.replace(at, 3, block);
    return text;
}

TEST_P(PageTextTest, BlockGoesOnlyWhereARealTagIs) {
    const PageCase& c = GetParam();
    const std::string sheet = Write("sheet.css", "H1 { color: red }");
    SheetDocument doc;
    doc.CreateStartRules();
    ASSERT_TRUE(doc.ReadStyleSheet(sheet));
    const std::string block = doc.BuildStyleBlock();
    if (!c.error) {
        SCOPED_TRACE("core");
        EXPECT_EQ(PlaceStyleBlock(c.page, block), Expand(c.expected, block));
        // Placing again replaces the block and nothing else.
        EXPECT_EQ(PlaceStyleBlock(Expand(c.expected, block), block), Expand(c.expected, block));
    }
    SCOPED_TRACE("larkspur-cli apply");
    const std::string page = Write("page.html", c.page);
    CliRun r = Cli("apply " + Quote(sheet) + " " + Quote(page));
    if (c.error) {
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find(c.error), std::string::npos) << r.err;
        EXPECT_EQ(ReadBytes(page), c.page);
    } else {
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(ReadBytes(page), Expand(c.expected, block));
    }
}

const std::string kBom = "\xEF\xBB\xBF";

INSTANTIATE_TEST_SUITE_P(
    Pages, PageTextTest,
    ::testing::Values(
        // Encodings.
        PageCase{"Utf8BomWithoutHeadStaysFirst", kBom + "<p>x</p>", kBom + "<HEAD>[B]</HEAD><p>x</p>"},
        PageCase{"Utf8BomWithHead", kBom + "<head></head>", kBom + "<head>[B]</head>"},
        PageCase{"Utf16LittleEndianIsRefused", std::string("\xFF\xFE<\0h\0", 6), "", "UTF-16"},
        PageCase{"Utf16BigEndianIsRefused", std::string("\xFE\xFF\0<\0h", 6), "", "UTF-16"},
        PageCase{"Utf16WithoutMarkIsRefused", std::string("<\0h\0t\0m\0l\0>\0", 12), "", "UTF-16"},
        PageCase{"Utf32IsRefused", std::string("\xFF\xFE\0\0<\0\0\0", 8), "", "UTF-32"},
        PageCase{"NulByteIsRefused", std::string("<head></head>\0x", 15), "", "binary"},
        PageCase{"Latin1BytesKept", "<head>\xE9</head>\xFF", "<head>\xE9[B]</head>\xFF"},
        // Hiding places: none of these is a tag.
        PageCase{"Comment", "<head><!-- <style>a</style> </head> --></head>",
                 "<head><!-- <style>a</style> </head> -->[B]</head>"},
        PageCase{"Script", "<head><script>s='</head><style>a</style>'</script></head>",
                 "<head><script>s='</head><style>a</style>'</script>[B]</head>"},
        PageCase{"Cdata", "<head><![CDATA[</head><style>a</style>]]></head>",
                 "<head><![CDATA[</head><style>a</style>]]>[B]</head>"},
        PageCase{"AttributeValue", "<head><meta content=\"</head><style>a</style>\"></head>",
                 "<head><meta content=\"</head><style>a</style>\">[B]</head>"},
        PageCase{"SingleQuotedValue", "<head><meta content='>\"<style>a</style>'></head>",
                 "<head><meta content='>\"<style>a</style>'>[B]</head>"},
        PageCase{"Title", "<head><title><style>a</style></head></title></head>",
                 "<head><title><style>a</style></head></title>[B]</head>"},
        PageCase{"RealStyleAfterHiddenOnes",
                 "<head><!--<style>c</style>--><style>old</style><script>'<style>'</script></head>",
                 "<head><!--<style>c</style>-->[B]<script>'<style>'</script></head>"},
        PageCase{"HeadStartInACommentIsNotTheHead", "<!--<head>--><body>x</body>",
                 "<HEAD>[B]</HEAD><!--<head>--><body>x</body>"},
        PageCase{"UnclosedScriptHidesTheRest", "<head></head><script>'</head>",
                 "<head>[B]</head><script>'</head>"}),
    [](const auto& info) { return std::string(info.param.name); });

// A style element hidden in a comment, a script, the title or an attribute
// value is none: removal leaves it, and opening the page reads the real one
// beside it, as placing sees them.
TEST(PageText, HiddenStylesAreNoElements) {
    for (const char* hidden :
         {"<!-- <style>H1 {color: red}</style> -->", "<script>'<style>H1 {color: red}</style>'</script>",
          "<title><style>H1 {color: red}</style></title>", "<p title='<style>H1 {color: red}</style>'>",
          "<p title='<style>H1 {color: red}'>"}) {
        SCOPED_TRACE(hidden);
        EXPECT_FALSE(HasStyleElement(hidden));
        const std::string head = std::string("<html><head>") + hidden, tail = hidden + std::string("</head></html>");
        const std::string page = head + "<style>H2 {color: blue}</style>" + tail;
        EXPECT_EQ(RemoveStyleElements(page), head + tail);
        SheetDocument doc;
        doc.CreateStartRules();
        ASSERT_TRUE(doc.ReadStyleSheetText(page, "page.html"));
        EXPECT_EQ(doc.StyleSheetText(), "H2 {color: blue}\r\n");
    }
}

using PreviewSheetTest = CliFixture;

// The preview writes its sheet as "test.css" unless a file of the user's has
// that name; then it uses another name, and the copy links to that one.
TEST_F(PreviewSheetTest, AUsersOwnTestCssIsLeftAlone) {
    const std::string sheet = Write("sheet.css", "H1 { color: red }");
    Write("bare.html", "<body>x</body>");
    CliRun first = Cli("preview " + Quote(sheet) + " " + P("bare.html"));
    ASSERT_EQ(first.status, 0) << first.err;
    EXPECT_EQ(ReadBytes(dir / "test.css").rfind(kPreviewSheetMark, 0), 0u);
    CliRun again = Cli("preview " + Quote(sheet) + " " + P("bare.html"));
    ASSERT_EQ(again.status, 0) << again.err;
    EXPECT_FALSE(fs::exists(dir / kPreviewSpareSheetName)) << "our own test.css is reused";

    const std::string mine = "body { background: green }\n";
    Write("test.css", mine);
    CliRun r = Cli("preview " + Quote(sheet) + " " + P("bare.html"));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadBytes(dir / "test.css"), mine);
    EXPECT_EQ(ReadBytes(dir / kPreviewSpareSheetName).rfind(kPreviewSheetMark, 0), 0u);
    const std::string copy = ReadBytes(dir / kPreviewFileName);
    EXPECT_NE(copy.find(dir.string() + "/~styletemp.css\""), std::string::npos) << copy;
    EXPECT_EQ(copy.find("test.css"), std::string::npos) << copy;

    Write(kPreviewSpareSheetName, mine);
    r = Cli("preview " + Quote(sheet) + " " + P("bare.html"));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("are files of your own"), std::string::npos) << r.err;
    EXPECT_EQ(ReadBytes(dir / kPreviewSpareSheetName), mine);
}

using ToolInputTest = CliFixture;

// Inputs that are no regular file, or too big, are refused at once; "--"
// lets a file name start with "-".
TEST_F(ToolInputTest, OnlyRegularFilesOfBoundedSizeAreRead) {
    const std::string sheet = Write("sheet.css", "H1 { color: red }");
    ASSERT_EQ(::mkfifo((dir / "pipe.html").c_str(), 0644), 0);
    ASSERT_EQ(::mkfifo((dir / "pipe.css").c_str(), 0644), 0);
    const std::string page = Write("page.html", "<head></head>");
    // A sparse page beyond the limit costs no time and no memory.
    ASSERT_EQ(::truncate(Write("huge.html", "").c_str(), static_cast<off_t>(kMaxFileSize) + 1), 0);
    CliRun r = Cli("apply " + Quote(sheet) + " " + P("pipe.html") + " " + P("huge.html") + " " + Quote(page));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("pipe.html\": it is not a regular file"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("huge.html\": it is larger than 256 MB"), std::string::npos) << r.err;
    EXPECT_NE(ReadBytes(page).find("color: red"), std::string::npos);
    EXPECT_EQ(Cli("listing " + P("pipe.css")).status, 1);
    EXPECT_EQ(Cli("export " + P("huge.html") + " " + P("out.css")).status, 1);
    EXPECT_FALSE(fs::exists(dir / "out.css"));

    Write("-dash.css", "P { color: red }");
    CliRun option = Cli("listing -dash.css");
    EXPECT_EQ(option.status, 2);
    EXPECT_NE(option.err.find("unknown option \"-dash.css\""), std::string::npos) << option.err;
    CliRun dashes = Shell("cd " + Quote(dir.string()) + " && " + Quote(LARKSPUR_CLI_PATH) +
                          " export -- -dash.css --");
    EXPECT_EQ(dashes.status, 0) << dashes.err;
    EXPECT_EQ(ReadBytes(dir / "--"), "P { color: red }");
}

}  // namespace
}  // namespace larkspur
