// Real-world and generated sheets: Save keeps everything the pages do not
// edit. What a sheet holds is found by a small tokenizer written here, apart
// from the reader, so the two cannot share a mistake.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "css/html_embed.h"
#include "css/kept_content.h"
#include "css/sheet_document.h"
#include "model/vocabulary.h"

namespace larkspur {
namespace {

namespace fs = std::filesystem;

bool Blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }

std::string Squeeze(std::string_view text) {
    std::string out;
    for (char c : text)
        if (!Blank(c)) out += c;
    return out;
}

std::string Upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// What a sheet says, in order: every declaration with the at-rules and the
// selector around it, every comment and every other at-rule. Blanks are
// squeezed out of keys and values: only the meaning is compared.
using Contents = std::vector<std::string>;

class MiniTokenizer {
public:
    explicit MiniTokenizer(std::string_view text) : s_(text) {}

    Contents Read() {
        Contents c;
        List(0, s_.size(), "", c);
        return c;
    }

private:
    // Up to the first of `stops` outside strings, comments and brackets.
    size_t Until(size_t i, size_t end, std::string_view stops) const {
        int brackets = 0;
        while (i < end) {
            char ch = s_[i];
            if (brackets == 0 && stops.find(ch) != std::string_view::npos) return i;
            if (ch == '\\') {
                i += 2;
                continue;
            }
            if (ch == '"' || ch == '\'') {
                ++i;
                while (i < end && s_[i] != ch && s_[i] != '\n') i += s_[i] == '\\' ? 2 : 1;
                ++i;
                continue;
            }
            if (ch == '/' && i + 1 < end && s_[i + 1] == '*') {
                i = CommentEnd(i);
                continue;
            }
            if (ch == '(' || ch == '{') ++brackets;
            if ((ch == ')' || ch == '}') && brackets > 0) --brackets;
            ++i;
        }
        return end;
    }
    size_t SkipBlanks(size_t i, size_t end) const {
        while (i < end && Blank(s_[i])) ++i;
        return i;
    }
    bool CommentAt(size_t i) const { return s_.substr(i, 2) == "/*"; }
    size_t CommentEnd(size_t i) const {
        size_t e = s_.find("*/", i + 2);
        return e == std::string_view::npos ? s_.size() : e + 2;
    }
    std::string Text(size_t from, size_t to) const { return Squeeze(s_.substr(from, to - from)); }

    void List(size_t i, size_t end, const std::string& context, Contents& c) {
        for (i = SkipBlanks(i, end); i < end; i = SkipBlanks(i, end)) {
            if (CommentAt(i)) {
                size_t e = CommentEnd(i);
                c.push_back("comment " + Text(i, e));
                i = e;
            } else if (s_[i] == '@') {
                size_t e = Until(i, end, ";{");
                const std::string prelude = Text(i, e);
                if (e < end && s_[e] == '{') {
                    const size_t close = Until(e + 1, end, "}");
                    if (prelude.starts_with("@media") || prelude.starts_with("@supports"))
                        List(e + 1, close, context + prelude + " ", c);
                    else
                        c.push_back(context + "at-rule " + Text(i, close + 1));
                    e = close;
                } else {
                    c.push_back(context + "at-rule " + prelude);
                }
                i = e + 1;
            } else {
                size_t open = Until(i, end, "{");
                if (open >= end) return;
                const std::string selector = Upper(Text(i, open));
                size_t close = Until(open + 1, end, "}");
                Declarations(context + selector, open + 1, close, c);
                i = close + 1;
            }
        }
    }

    void Declarations(const std::string& where, size_t i, size_t end, Contents& c) {
        for (i = SkipBlanks(i, end); i < end; i = SkipBlanks(i, end)) {
            if (CommentAt(i)) {
                size_t e = CommentEnd(i);
                c.push_back("comment " + Text(i, e));
                i = e;
                continue;
            }
            size_t e = Until(i, end, ";{");
            if (e < end && s_[e] == '{') {
                e = Until(e + 1, end, "}");
                c.push_back(where + " nested " + Text(i, e));
                i = e + 1;
                continue;
            }
            const std::string_view decl = s_.substr(i, e - i);
            i = e + 1;
            const size_t colon = decl.find(':');
            if (colon == std::string_view::npos) continue;
            c.push_back(where + " | " + Squeeze(decl.substr(0, colon)) + ": " + Squeeze(decl.substr(colon + 1)));
        }
    }

    std::string_view s_;
};

std::string Export(std::string_view text, KeptCounts* counts = nullptr) {
    SheetDocument doc;
    doc.CreateStartRules();
    EXPECT_TRUE(doc.ReadStyleSheetText(text, "sheet.css"));
    if (counts) *counts = doc.KeptByLastRead();
    return doc.StyleSheetText();
}

// The output says what the input says, in the same order.
void ExpectSameMeaning(std::string_view input, std::string_view output) {
    const Contents in = MiniTokenizer(input).Read();
    const Contents out = MiniTokenizer(output).Read();
    const auto [a, b] = std::mismatch(in.begin(), in.end(), out.begin(), out.end());
    EXPECT_TRUE(a == in.end() && b == out.end())
        << "first difference: " << (a == in.end() ? "(end)" : *a) << " / " << (b == out.end() ? "(end)" : *b);
}

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

class FrameworkSheetTest : public ::testing::TestWithParam<std::string> {};

TEST_P(FrameworkSheetTest, SaveKeepsEveryBlockInItsPlaceAndAnEditChangesOneDeclaration) {
    const std::string sheet = ReadFile(fs::path(LARKSPUR_TEST_DATA) / "frameworks" / GetParam());
    ASSERT_FALSE(sheet.empty());
    KeptCounts counts;
    const std::string once = Export(sheet, &counts);
    ExpectSameMeaning(sheet, once);
    EXPECT_TRUE(once == sheet) << "written back other than read";
    EXPECT_TRUE(Export(once) == once);
    EXPECT_FALSE(KeptSummary(counts).empty());

    // The same sheet in a page's style element reads the same, and a page
    // given the sheet carries it whole.
    const std::string page = "<html><head><style>\n" + sheet + "</style></head><body></body></html>";
    SheetDocument doc;
    doc.CreateStartRules();
    ASSERT_TRUE(doc.ReadStyleSheetText(page, "page.html"));
    // A page's sheet is read without the blanks that set it off, and ends
    // with a line end.
    const std::string inPage = once.substr(0, once.find_last_not_of("\r\n") + 1) + std::string(doc.LineEnd());
    EXPECT_TRUE(doc.StyleSheetText() == inPage);
    const std::string placed = PlaceStyleBlock("<html><head></head></html>", doc.BuildStyleBlock());
    SheetDocument again;
    again.CreateStartRules();
    ASSERT_TRUE(again.ReadStyleSheetText(placed, "placed.html"));
    EXPECT_TRUE(again.StyleSheetText() == inPage);

    // A colour set on the pages of a rule in the middle of the sheet changes
    // that one declaration and nothing else.
    const int middle = doc.RuleCount() / 2 + 28;
    ASSERT_TRUE(doc.IsValidIndex(middle));
    doc.SetValue(middle, kColor, "#123456");
    const Contents before = MiniTokenizer(once).Read();
    const Contents after = MiniTokenizer(doc.StyleSheetText()).Read();
    std::vector<std::string> gone, added;
    std::multiset<std::string> b(before.begin(), before.end()), a(after.begin(), after.end());
    std::set_difference(b.begin(), b.end(), a.begin(), a.end(), std::back_inserter(gone));
    std::set_difference(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(added));
    ASSERT_EQ(added.size(), 1u);
    EXPECT_TRUE(added[0].ends_with("| color: #123456")) << added[0];
    EXPECT_LE(gone.size(), 1u);
    EXPECT_EQ(after.size(), before.size() + 1 - gone.size());
}

INSTANTIATE_TEST_SUITE_P(Npm, FrameworkSheetTest,
                         ::testing::Values("normalize.css", "animate.min.css", "bootstrap-theme.css",
                                           "bootstrap.min.css", "spectre-exp.css", "spectre-icons.css"),
                         [](const auto& info) {
                             std::string name = info.param;
                             std::replace_if(name.begin(), name.end(), [](char c) { return !std::isalnum(c); }, '_');
                             return name;
                         });

struct Case {
    const char* name;
    const char* sheet;
    // Save's bytes; nullptr: the sheet as it was.
    const char* written = nullptr;
};

// Hand-made cases: what Save writes of each.
const Case kCases[] = {
    {"ShorthandThenLonghand", "P { margin: 0; margin-top: 5px }"},
    {"ImportantStaysAsWritten", "P{color:red !important;color:blue}"},
    {"StringsHoldBracesAndSemicolons", "P{content:\"}; /*\";color:red}\n.x{quotes:'}' '{'}"},
    {"UrlHoldsSemicolonAndBrace", "P{background:url(data:a;b}c);color:red}"},
    {"CommentsInsideAndBetween", "/* a */ P { /* b */ color: red /* c */ }\n/* d */"},
    {"NestedAtRules", "@media print { @supports (display:grid) { a { b: c } } }\nP{color:red}"},
    {"AtRuleStatements", "@charset \"utf-8\";\n@import url(\"a;b.css\") print;\nP{color:red}"},
    {"LineEndsOfTheFileStay", "a{}\r\nb{}\nc{}\r\n"},
    {"TagRuleKeepsItsCaseAndPlace", "ul, ol { list-style: none }\nol { list-style: decimal }\nbody{margin:0}"},
    // Text that ends open is closed as a browser closes it.
    {"UnterminatedComment", "P{color:red}\n/* open", "P{color:red}\n/* open*/"},
    {"UnterminatedString", "P{content:'open", "P{content:'open'}"},
    {"UnterminatedBlock", "P{color:red;display:block", "P{color:red;display:block}"},
    {"UnterminatedAtRule", "@media print { a { b: c", "@media print { a { b: c}}"},
    {"UnterminatedStatement", "P{}\n@import 'a.css'", "P{}\n@import 'a.css';"},
    // What hides a sheet from old browsers goes; the text after a last block
    // that holds none would run into rules added later, so it goes too.
    {"HtmlCommentMarkersAreNotText", "<!-- P{color:red} -->", " P{color:red} "},
    {"TextAfterTheLastBlock", "P{color:red}\njunk", "P{color:red}\n"},
};

class KeptCaseTest : public ::testing::TestWithParam<Case> {};

TEST_P(KeptCaseTest, WritesAndReadsBackTheSame) {
    const Case& c = GetParam();
    const std::string once = Export(c.sheet);
    EXPECT_EQ(once, c.written ? c.written : c.sheet);
    EXPECT_EQ(Export(once), once);
}

INSTANTIATE_TEST_SUITE_P(Cases, KeptCaseTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The listing is the file; edits on the pages change only the text of the
// declaration they concern, set out as its neighbours are.
TEST(KeptListingTest, EditsChangeOnlyTheirDeclaration) {
    SheetDocument doc;
    doc.CreateStartRules();
    ASSERT_TRUE(doc.ReadStyleSheetText("/* top */\n.a {\n  margin: 0;\n  color: red; -x-y: 1\n}\n.b{z-index:1}\n",
                                       "s.css"));
    const int a = doc.FindRule(".a");
    doc.SetValue(a, kColor, "blue");
    doc.SetValue(a, kZIndex, "3");
    EXPECT_EQ(doc.StyleSheetText(), "/* top */\n.a {\n  margin: 0;\n  color: blue; -x-y: 1; z-index: 3;\n}\n.b{z-index:1}\n");
    doc.SetValue(a, kColor, "");
    EXPECT_EQ(doc.StyleSheetText(), "/* top */\n.a {\n  margin: 0; -x-y: 1; z-index: 3;\n}\n.b{z-index:1}\n");
    EXPECT_EQ(doc.GetListing().Text(), doc.StyleSheetText());
    // Out of the sheet and back: the same text in the same place.
    const std::string text = doc.StyleSheetText();
    doc.CheckRule(a, false);
    EXPECT_EQ(doc.StyleSheetText(), "/* top */\n.b{z-index:1}\n");
    doc.SetValue(a, kMarginTop, "1px");
    doc.CheckRule(a, true);
    EXPECT_EQ(doc.StyleSheetText(), "/* top */\n.a {\n  margin: 0; -x-y: 1; z-index: 3; margin-top: 1px;\n}\n.b{z-index:1}\n");
    // Copying a rule copies its text; clearing empties it; renaming changes
    // the selector alone.
    const int b = doc.FindRule(".b");
    doc.CopyRuleValues(a, b);
    EXPECT_TRUE(doc.StyleSheetText().ends_with(".b{\n  margin: 0; -x-y: 1; z-index: 3; margin-top: 1px;\n}\n"));
    doc.ClearRule(a);
    doc.RenameRule(a, "h2 > .a");
    EXPECT_TRUE(doc.StyleSheetText().starts_with("/* top */\nh2 > .a {\n}\n.b{"));
    // A rule added to a read sheet goes after what was read.
    const int c = doc.AppendRule(".new");
    doc.CheckRule(c, true);
    doc.SetValue(c, kColor, "red");
    EXPECT_TRUE(doc.StyleSheetText().ends_with("}\n.new {\ncolor: red;\n}\n"));
    const int h1 = doc.FindRule("H1");
    doc.CheckRule(h1, true);
    EXPECT_TRUE(doc.StyleSheetText().ends_with("}\nH1 {\n}\n.new {\ncolor: red;\n}\n")) << "in list order";
}

TEST(KeptSummaryTest, CountsWhatWasKept) {
    KeptCounts counts;
    Export("/* 1 */ a{b:c;d:e;f:g} @media x{} @media y{} @import 'z'; /* 2 */ p{q{r:s}}", &counts);
    EXPECT_EQ(KeptSummary(counts),
              "Kept as written: 3 declarations, 2 @media blocks, 1 @import statement, 1 nested rule, 2 comments");
    counts.declarations = 1204;
    EXPECT_EQ(KeptSummary(counts).substr(0, 34), "Kept as written: 1,204 declaration");
    EXPECT_EQ(KeptSummary(KeptCounts{}), "");
}

}  // namespace
}  // namespace larkspur
