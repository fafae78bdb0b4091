// Real-world and generated sheets: Save keeps everything the pages do not
// edit. What a sheet holds is found by a small tokenizer written here, apart
// from the reader, so the two cannot share a mistake.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
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

// What a sheet says, item by item. Keys are compared without blanks, since
// the writer spaces the declarations it composes its own way.
struct Contents {
    std::multiset<std::string> kept;      // comments, at-rules, other declarations
    std::map<std::string, std::string> edited;  // "SELECTOR|name" -> value of the last block
};

class MiniTokenizer {
public:
    explicit MiniTokenizer(std::string_view text) : s_(text) {}

    Contents Read() {
        Contents c;
        TopLevel(c);
        return c;
    }

private:
    // Up to the first of `stops` outside strings, comments and brackets.
    size_t Until(size_t i, std::string_view stops) const {
        int brackets = 0;
        while (i < s_.size()) {
            char ch = s_[i];
            if (brackets == 0 && stops.find(ch) != std::string_view::npos) return i;
            if (ch == '\\') {
                i += 2;
                continue;
            }
            if (ch == '"' || ch == '\'') {
                ++i;
                while (i < s_.size() && s_[i] != ch && s_[i] != '\n') i += s_[i] == '\\' ? 2 : 1;
                ++i;
                continue;
            }
            if (ch == '/' && i + 1 < s_.size() && s_[i + 1] == '*') {
                size_t e = s_.find("*/", i + 2);
                i = e == std::string_view::npos ? s_.size() : e + 2;
                continue;
            }
            if (ch == '(' || ch == '{') ++brackets;
            if ((ch == ')' || ch == '}') && brackets > 0) --brackets;
            ++i;
        }
        return s_.size();
    }
    size_t SkipBlanks(size_t i) const {
        while (i < s_.size() && Blank(s_[i])) ++i;
        return i;
    }
    bool CommentAt(size_t i) const { return s_.substr(i, 2) == "/*"; }
    size_t CommentEnd(size_t i) const {
        size_t e = s_.find("*/", i + 2);
        return e == std::string_view::npos ? s_.size() : e + 2;
    }

    void TopLevel(Contents& c) {
        for (size_t i = SkipBlanks(0); i < s_.size(); i = SkipBlanks(i)) {
            if (CommentAt(i)) {
                size_t e = CommentEnd(i);
                c.kept.insert("comment " + Squeeze(s_.substr(i, e - i)));
                i = e;
            } else if (s_[i] == '@') {
                size_t e = Until(i, ";{");
                if (e < s_.size() && s_[e] == '{') e = Until(e + 1, "}");
                c.kept.insert("at-rule " + Squeeze(s_.substr(i, e - i)));
                i = e + 1;
            } else {
                size_t open = Until(i, "{");
                if (open >= s_.size()) return;
                const std::string selector = Upper(Squeeze(s_.substr(i, open - i)));
                size_t close = Until(open + 1, "}");
                Declarations(selector, s_.substr(open + 1, close - open - 1), c);
                i = close + 1;
            }
        }
    }

    void Declarations(const std::string& selector, std::string_view block, Contents& c) {
        MiniTokenizer inner(block);
        // A later block of the same selector is what the pages show.
        std::erase_if(c.edited, [&](const auto& kv) { return kv.first.starts_with(selector + "|"); });
        for (size_t i = inner.SkipBlanks(0); i < block.size(); i = inner.SkipBlanks(i)) {
            if (inner.CommentAt(i)) {
                size_t e = inner.CommentEnd(i);
                c.kept.insert("comment " + Squeeze(block.substr(i, e - i)));
                i = e;
                continue;
            }
            size_t e = inner.Until(i, ";{");
            if (e < block.size() && block[e] == '{') {
                e = inner.Until(e + 1, "}");
                c.kept.insert("nested " + Squeeze(block.substr(i, e - i)));
                i = e + 1;
                continue;
            }
            std::string_view decl = block.substr(i, e - i);
            i = e + 1;
            size_t colon = decl.find(':');
            if (colon == std::string_view::npos) continue;
            std::string name = Squeeze(decl.substr(0, colon));
            std::string value = Squeeze(decl.substr(colon + 1));
            bool edited = false;
            for (int p = 0; p < kPropertyCount; ++p) edited |= PropertyName(p) == name;
            if (edited && value.find('!') == std::string::npos && value.find("/*") == std::string::npos) {
                if (!value.empty()) c.edited[selector + "|" + name] = value;
            } else {
                c.kept.insert("declaration " + name + ":" + value);
            }
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

// Everything the input says is in the output: kept text as often as it was
// written, and each property of the pages with the value a browser applies
// from the selector's last block.
void ExpectKept(std::string_view input, std::string_view output) {
    const Contents in = MiniTokenizer(input).Read();
    const Contents out = MiniTokenizer(output).Read();
    std::vector<std::string> missing;
    std::set_difference(in.kept.begin(), in.kept.end(), out.kept.begin(), out.kept.end(),
                        std::back_inserter(missing));
    EXPECT_TRUE(missing.empty()) << missing.size() << " lost, the first: " << missing.front();
    for (const auto& [key, value] : in.edited) {
        auto it = out.edited.find(key);
        EXPECT_TRUE(it != out.edited.end() && it->second == value) << key << ": " << value;
    }
}

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

class FrameworkSheetTest : public ::testing::TestWithParam<std::string> {};

TEST_P(FrameworkSheetTest, SaveKeepsEveryDeclarationCommentAndAtRule) {
    const std::string sheet = ReadFile(fs::path(LARKSPUR_TEST_DATA) / "frameworks" / GetParam());
    ASSERT_FALSE(sheet.empty());
    KeptCounts counts;
    const std::string once = Export(sheet, &counts);
    ExpectKept(sheet, once);
    EXPECT_EQ(Export(once), once);
    EXPECT_FALSE(KeptSummary(counts).empty());

    // The same sheet in a page's style element reads the same, and a page
    // given the sheet carries the kept text too.
    const std::string page = "<html><head><style>\n" + sheet + "</style></head><body></body></html>";
    SheetDocument doc;
    doc.CreateStartRules();
    ASSERT_TRUE(doc.ReadStyleSheetText(page, "page.html"));
    EXPECT_EQ(doc.StyleSheetText(), once);
    const std::string placed = PlaceStyleBlock("<html><head></head></html>", doc.BuildStyleBlock());
    SheetDocument again;
    again.CreateStartRules();
    ASSERT_TRUE(again.ReadStyleSheetText(placed, "placed.html"));
    EXPECT_EQ(again.StyleSheetText(), once);
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
    const char* written;
    // Broken text is completed (a quote, "*/", "}") so that it reads back the
    // same; only the exact text is compared then.
    bool completed = false;
};

// Hand-made cases with the exact text Save writes.
const Case kCases[] = {
    {"ShorthandThenLonghand", "P { margin: 0; margin-top: 5px }", "P {\r\nmargin: 0;\r\nmargin-top: 5px;\r\n}\r\n"},
    {"LonghandThenShorthand", "P { margin-top: 5px; margin: 0 }", "P {\r\nmargin-top: 5px;\r\nmargin: 0;\r\n}\r\n"},
    // The pages read the last margin-top; the first keeps its place as written.
    {"LonghandAroundShorthand", "P{margin-top:1px;margin:0;margin-top:5px}",
     "P {\r\nmargin-top:1px;\r\nmargin:0;\r\nmargin-top: 5px;\r\n}\r\n"},
    {"ImportantStaysAsWritten", "P{color:red !important;color:blue}", "P {\r\ncolor:red !important;\r\ncolor: blue;\r\n}\r\n"},
    {"StringsHoldBracesAndSemicolons", "P{content:\"}; /*\";color:red}\n.x{quotes:'}' '{'}",
     "P {\r\ncontent:\"}; /*\";\r\ncolor: red;\r\n}\r\n.x {\r\nquotes:'}' '{';\r\n}\r\n"},
    {"UrlHoldsSemicolonAndBrace", "P{background:url(data:a;b}c);color:red}",
     "P {\r\nbackground:url(data:a;b}c);\r\ncolor: red;\r\n}\r\n"},
    {"EscapedQuoteInString", "P{content:'it\\'s }';z-index:1}", "P {\r\ncontent:'it\\'s }';\r\nz-index: 1;\r\n}\r\n"},
    {"CommentsInsideAndBetween", "/* a */ P { /* b */ color: red /* c */ }\n/* d */",
     "/* a */\r\nP {\r\n/* b */\r\ncolor: red /* c */;\r\n}\r\n/* d */\r\n"},
    {"NestedAtRules", "@media print { @supports (display:grid) { a { b: c } } }\nP{color:red}",
     "@media print { @supports (display:grid) { a { b: c } } }\r\nP {\r\ncolor: red;\r\n}\r\n"},
    {"AtRuleStatements", "@charset \"utf-8\";\n@import url(\"a;b.css\") print;\nP{color:red}",
     "@charset \"utf-8\";\r\n@import url(\"a;b.css\") print;\r\nP {\r\ncolor: red;\r\n}\r\n"},
    {"MediaBlockStaysAfterItsRule", ".a{color:red}\n@media print{.a{color:blue}}",
     ".a {\r\ncolor: red;\r\n}\r\n@media print{.a{color:blue}}\r\n"},
    {"UnterminatedComment", "P{color:red}\n/* open", "P {\r\ncolor: red;\r\n}\r\n/* open*/\r\n", true},
    {"UnterminatedString", "P{content:'open", "P {\r\ncontent:'open';\r\n}\r\n", true},
    {"UnterminatedBlock", "P{color:red;display:block", "P {\r\ncolor: red;\r\ndisplay:block;\r\n}\r\n"},
    {"UnterminatedAtRule", "@media print { a { b: c", "@media print { a { b: c}}\r\n", true},
    {"StringBrokenByLineEnd", "P{content:'a\n;color:red}", "P {\r\ncontent:'a';\r\ncolor: red;\r\n}\r\n", true},
    {"RepeatedSelectorKeepsTextOfEveryBlock", "A{display:block;color:red}\n.x{z-index:1}\na{-webkit-x:1;color:blue}",
     "A {\r\ndisplay:block;\r\n-webkit-x:1;\r\ncolor: blue;\r\n}\r\n.x {\r\nz-index: 1;\r\n}\r\n"},
    {"CustomPropertiesAndVendorPrefixes", ":root{--bs-blue:#0d6efd;-webkit-transition:all .2s}",
     ":root {\r\n--bs-blue:#0d6efd;\r\n-webkit-transition:all .2s;\r\n}\r\n"},
    {"GroupedSelectors", "h1, .h1 { font-size: 36px; line-height: 1.1 }",
     "h1, .h1 {\r\nfont-size: 36px;\r\nline-height: 1.1;\r\n}\r\n"},
    {"HtmlCommentMarkersAreNotText", "<!-- P{color:red} -->", "P {\r\ncolor: red;\r\n}\r\n", true},
    // Broken values the pages edit are read as they will be written.
    {"OpenStringInEditedValue", "P{vertical-align:\"", "P {\r\nvertical-align: \"\";\r\n}\r\n", true},
    {"OpenStringEndingInBackslash", "P{margin-bottom:\"\\", "P {\r\nmargin-bottom: \"\\\"\";\r\n}\r\n", true},
    {"BackslashBeforeTheSemicolon", "P{font-family:,\\", "P {\r\nfont-family:,\\ ;\r\n}\r\n", true},
    // A url left open must not take in the brace or line written after it.
    {"OpenUrlInSelector", "url({\r;):", "url() {\r\n):;\r\n}\r\n", true},
    {"OpenUrlBeforeABrace", "P{url({", "P {\r\nurl({}\r\n}\r\n", true},
};

class KeptCaseTest : public ::testing::TestWithParam<Case> {};

TEST_P(KeptCaseTest, WritesAndReadsBackTheSame) {
    const Case& c = GetParam();
    const std::string once = Export(c.sheet);
    EXPECT_EQ(once, c.written);
    EXPECT_EQ(Export(once), once);
    if (!c.completed) ExpectKept(c.sheet, once);
}

INSTANTIATE_TEST_SUITE_P(Cases, KeptCaseTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The listing shows what Save writes, kept text included, and edits on the
// pages change it line by line around the kept lines.
TEST(KeptListingTest, EditsGoAroundKeptTextAndSaveFollowsTheListing) {
    SheetDocument doc;
    doc.CreateStartRules();
    ASSERT_TRUE(doc.ReadStyleSheetText("/* top */\n.a { margin: 0;\n  color: red; -x-y: \"1\\\n2\" }\n.b{z-index:1}",
                                       "s.css"));
    auto lines = [&] {
        std::string out;
        for (const std::string& line : doc.GetListing().Lines()) out += line + "|";
        return out;
    };
    EXPECT_EQ(lines(), "/* top */|.a{|margin: 0;|color: red;|-x-y: \"1\\|2\";|}|.b{|z-index: 1;|}|");
    const int a = doc.FindRule(".a");
    // A new declaration goes before the closing brace; a changed one stays.
    doc.SetValue(a, kZIndex, "3");
    doc.SetValue(a, kColor, "blue");
    EXPECT_EQ(lines(), "/* top */|.a{|margin: 0;|color: blue;|-x-y: \"1\\|2\";|z-index: 3;|}|.b{|z-index: 1;|}|");
    EXPECT_EQ(doc.StyleSheetText(),
              "/* top */\r\n.a {\r\nmargin: 0;\r\ncolor: blue;\r\n-x-y: \"1\\\n2\";\r\nz-index: 3;\r\n}\r\n"
              ".b {\r\nz-index: 1;\r\n}\r\n");
    // Unchecking and checking the rule brings the same lines back.
    doc.UnlistRule(a);
    EXPECT_EQ(lines(), "/* top */|.b{|z-index: 1;|}|");
    doc.ListRule(a);
    EXPECT_EQ(lines(), "/* top */|.b{|z-index: 1;|}|.a{|margin: 0;|color: blue;|-x-y: \"1\\|2\";|z-index: 3;|}|");
    // Copying a rule copies its kept text; clearing one takes it out.
    doc.CopyRuleValues(a, doc.FindRule(".b"));
    const std::string body = "margin: 0;|color: blue;|-x-y: \"1\\|2\";|z-index: 3;|}|";
    EXPECT_EQ(lines(), "/* top */|.b{|" + body + ".a{|" + body);
    doc.ClearRule(a);
    EXPECT_EQ(lines(), "/* top */|.b{|" + body + ".a{|}|");
    // Removing a rule keeps the text that followed it.
    doc.RemoveRule(doc.FindRule(".b"));
    EXPECT_EQ(doc.StyleSheetText(), "/* top */\r\n.a {\r\n}\r\n");
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
