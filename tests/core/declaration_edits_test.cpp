// Any declaration of a rule edited by row: the rule's text changes only where
// the edit is, a declaration switched off comes back where it was, and the
// entries of the 41 follow the text so the pages show what the sheet says.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <functional>
#include <numeric>
#include <string>
#include <vector>

#include "css/sheet_document.h"
#include "model/css_property_table.h"
#include "model/vocabulary.h"

namespace larkspur {
namespace {

// "name: value!, -name: value" (! for important, - for off).
std::string Dump(const SheetDocument& doc, int rule) {
    std::string out;
    for (const Declaration& d : doc.Declarations(rule)) {
        if (!out.empty()) out += ", ";
        out += (d.on ? "" : "-") + d.name + ": " + d.value + (d.important ? "!" : "");
    }
    return out;
}

struct EditCase {
    const char* name;
    const char* rule;  // as read
    std::function<void(SheetDocument&, int)> edit;
    const char* text;  // the rule's text after the edit
    const char* rows;  // Dump after the edit
};

class DeclarationEditTest : public ::testing::TestWithParam<EditCase> {};

TEST_P(DeclarationEditTest, ChangesTheRuleTextOnlyWhereTheEditIs) {
    const EditCase& c = GetParam();
    SheetDocument doc;
    doc.CreateStartRules();
    const std::string sheet = std::string("/* before */\n") + c.rule + "\n.after { top: 0 }\n";
    ASSERT_TRUE(doc.ReadStyleSheetText(sheet, "s.css"));
    const int i = doc.FindRule(".x");
    c.edit(doc, i);
    EXPECT_EQ(doc.RuleTextOf(i), c.text);
    EXPECT_EQ(Dump(doc, i), c.rows);
    EXPECT_EQ(doc.StyleSheetText(), "/* before */\n" + std::string(c.text) + "\n.after { top: 0 }\n");
}

INSTANTIATE_TEST_SUITE_P(
    Edits, DeclarationEditTest,
    ::testing::Values(
        EditCase{"ReadAsWritten", ".x { display:flex; --gap : 2px ; color: red !IMPORTANT; /* c */ z }",
                 [](SheetDocument&, int) {},
                 ".x { display:flex; --gap : 2px ; color: red !IMPORTANT; /* c */ z }",
                 "display: flex, --gap: 2px, color: red!"},
        EditCase{"EditName", ".x { display:flex; color: red }",
                 [](SheetDocument& d, int i) { d.SetDeclaration(i, 0, {"display", "grid"}); },
                 ".x { display: grid; color: red }", "display: grid, color: red"},
        EditCase{"MarkImportant", ".x {\n  gap: 1px;\n}",
                 [](SheetDocument& d, int i) { d.SetDeclaration(i, 0, {"gap", "1px", true}); },
                 ".x {\n  gap: 1px !important;\n}", "gap: 1px!"},
        EditCase{"AddAtTheEndSetOutAsTheLast", ".x {\n  gap: 1px;\n}",
                 [](SheetDocument& d, int i) { d.InsertDeclaration(i, 1, {"border-radius", "4px"}); },
                 ".x {\n  gap: 1px;\n  border-radius: 4px;\n}", "gap: 1px, border-radius: 4px"},
        EditCase{"AddBefore", ".x {\n  gap: 1px;\n  top: 0\n}",
                 [](SheetDocument& d, int i) { d.InsertDeclaration(i, 1, {"--a", "b"}); },
                 ".x {\n  gap: 1px;\n  --a: b;\n  top: 0\n}", "gap: 1px, --a: b, top: 0"},
        EditCase{"AddToAnEmptyBlock", ".x {}",
                 [](SheetDocument& d, int i) { d.InsertDeclaration(i, 0, {"gap", "0"}); }, ".x {gap: 0;}",
                 "gap: 0"},
        EditCase{"RemoveFirstKeepsTheLayout", ".x {\n  gap: 1px;\n  top: 0;\n}",
                 [](SheetDocument& d, int i) { d.RemoveDeclaration(i, 0); }, ".x {\n  top: 0;\n}", "top: 0"},
        EditCase{"RemoveInOneLine", ".x { a: 1; b: 2; c: 3 }",
                 [](SheetDocument& d, int i) { d.RemoveDeclaration(i, 1); }, ".x { a: 1; c: 3 }", "a: 1, c: 3"},
        EditCase{"SwitchOff", ".x { a: 1; b: 2; c: 3 }",
                 [](SheetDocument& d, int i) { d.SwitchDeclaration(i, 1, false); }, ".x { a: 1; c: 3 }",
                 "a: 1, -b: 2, c: 3"},
        EditCase{"EditWhileOffLeavesTheText", ".x { a: 1; b: 2 }",
                 [](SheetDocument& d, int i) {
                     d.SwitchDeclaration(i, 0, false);
                     d.SetDeclaration(i, 0, {"a", "9"});
                 },
                 ".x { b: 2 }", "-a: 9, b: 2"},
        EditCase{"AddAfterAnOffOne", ".x { a: 1; b: 2 }",
                 [](SheetDocument& d, int i) {
                     d.SwitchDeclaration(i, 0, false);
                     d.InsertDeclaration(i, 1, {"n", "0"});
                     d.SwitchDeclaration(i, 0, true);
                 },
                 ".x { a: 1; n: 0; b: 2 }", "a: 1, n: 0, b: 2"},
        EditCase{"RemoveAnOffOne", ".x { a: 1; b: 2 }",
                 [](SheetDocument& d, int i) {
                     d.SwitchDeclaration(i, 1, false);
                     d.RemoveDeclaration(i, 1);
                 },
                 ".x { a: 1; }", "a: 1"},
        EditCase{"RowsOutOfRangeChangeNothing", ".x { a: 1 }",
                 [](SheetDocument& d, int i) {
                     d.SetDeclaration(i, 1, {"b", "2"});
                     d.RemoveDeclaration(i, -1);
                     d.SwitchDeclaration(i, 5, false);
                     d.InsertDeclaration(i, 2, {"c", "3"});
                 },
                 ".x { a: 1 }", "a: 1"}),
    [](const ::testing::TestParamInfo<EditCase>& info) { return std::string(info.param.name); });

// Every subset of a rule's declarations switched off, last first, and on
// again in either order, gives the rule's text back byte for byte, whatever
// stands between them (empty declarations, comments, nested blocks: on again
// in order there).
TEST(DeclarationSwitch, OffAndOnAgainInAnyOrderGivesTheTextBack) {
    for (const std::string rule : {".x {\n  a: 1;\n  b: 2 !important; /* keep */\n  c: 3;\n  d: 4\n}",
                                   ".x { ;a: 1;; b: 2 ; ;c: 3; d: 4;; }", ".x{;;a:1;;;b:2;c:3;d:4;}",
                                   ".x { ; a: 1 !important;\xff { .a t a: b; } /* c */ b: 2; c: 3 ;d: 4 }"})
    for (unsigned mask = 1; mask < 16; ++mask) {
        std::vector<int> chosen;
        for (int r = 0; r < 4; ++r)
            if (mask >> r & 1) chosen.push_back(r);
        for (bool reverseOn : {false, true}) {
            const bool onePerLine = rule.find(';') == rule.find(";\n");
            if (reverseOn && !onePerLine) continue;
            SCOPED_TRACE(rule + " mask " + std::to_string(mask) + (reverseOn ? " on in reverse" : ""));
            SheetDocument doc;
            doc.CreateStartRules();
            ASSERT_TRUE(doc.ReadStyleSheetText(rule + "\n", "s.css"));
            const int i = doc.FindRule(".x");
            // Off last first: the rows of the others stay where they are.
            for (auto it = chosen.rbegin(); it != chosen.rend(); ++it) doc.SwitchDeclaration(i, *it, false);
            EXPECT_EQ(doc.Declarations(i).size(), 4u);
            std::vector<int> on = chosen;
            if (reverseOn) std::reverse(on.begin(), on.end());
            for (int r : on) doc.SwitchDeclaration(i, r, true);
            EXPECT_EQ(doc.RuleTextOf(i), rule);
        }
    }
}

// Real sheets: every declaration of every rule switched off and on again
// gives the rule back byte for byte, the entries of the 41 as read.
TEST(DeclarationSwitch, EveryDeclarationOfFrameworkRulesComesBackExactly) {
    for (const char* name : {"normalize.css", "bootstrap-theme.css", "spectre-exp.css"}) {
        SCOPED_TRACE(name);
        std::ifstream in(std::filesystem::path(LARKSPUR_TEST_DATA) / "frameworks" / name, std::ios::binary);
        const std::string sheet((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        ASSERT_FALSE(sheet.empty());
        SheetDocument doc;
        doc.CreateStartRules();
        ASSERT_TRUE(doc.ReadStyleSheetText(sheet, name));
        const std::string text = doc.StyleSheetText();
        int switched = 0;
        for (int i = 0; i < doc.RuleCount(); ++i) {
            const std::string rule(doc.RuleTextOf(i));
            const RuleSnapshot start = doc.Snapshot(i);
            const std::vector<Declaration> rows = doc.Declarations(i);
            for (int r = static_cast<int>(rows.size()); r-- > 0;) {
                doc.SwitchDeclaration(i, r, false);
                ++switched;
            }
            EXPECT_EQ(doc.Declarations(i).size(), rows.size());
            for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
                EXPECT_FALSE(doc.Declarations(i)[static_cast<size_t>(r)].on) << rule;
                doc.SwitchDeclaration(i, r, true);
            }
            ASSERT_EQ(doc.RuleTextOf(i), rule);
            EXPECT_EQ(doc.Rule(i).properties, start.rule.properties) << rule;
        }
        EXPECT_EQ(doc.StyleSheetText(), text);
        EXPECT_GT(switched, 50);
    }
}

// A declaration of one of the 41 is the entry the pages show, both ways.
TEST(DeclarationEntries, PagesAndRowsShowTheSameValue) {
    SheetDocument doc;
    doc.CreateStartRules();
    ASSERT_TRUE(doc.ReadStyleSheetText("h1 { display: block; color: red }\n", "s.css"));
    const int i = doc.FindRule("H1");
    const auto entry = [&](int p) { return std::as_const(doc.Rule(i).properties)[static_cast<size_t>(p)]; };

    doc.SetDeclaration(i, 1, {"color", "#00FF00"});
    EXPECT_EQ(entry(kColor).value, "#00FF00");
    EXPECT_EQ(doc.Rule(i).pageState().color, MakeColour(0, 255, 0));
    EXPECT_EQ(doc.Rule(i).pageState().colorOn, 1);

    doc.SetValue(i, kColor, "#0000FF");  // as the Colour page stores it
    EXPECT_EQ(Dump(doc, i), "display: block, color: #0000FF");

    doc.SwitchDeclaration(i, 1, false);
    EXPECT_EQ(entry(kColor).listed, 0);
    EXPECT_EQ(doc.Rule(i).pageState().colorOn, 0);
    doc.SwitchDeclaration(i, 1, true);
    EXPECT_EQ(doc.Rule(i).pageState().colorOn, 1);

    // Renamed to a property the pages do not edit, the colour is gone from them...
    doc.SetDeclaration(i, 1, {"outline-color", "#0000FF"});
    EXPECT_EQ(doc.Rule(i).pageState().colorOn, 0);
    // ... and a new one of the 41 shows there at once.
    doc.InsertDeclaration(i, 2, {"text-align", "center"});
    EXPECT_EQ(entry(kTextAlign).value, "center");
    EXPECT_EQ(doc.Rule(i).pageState().textAlign, "center");
    doc.RemoveDeclaration(i, 2);
    EXPECT_EQ(doc.Rule(i).pageState().textAlignOn, 0);
    EXPECT_EQ(doc.RuleTextOf(i), "h1 { display: block; outline-color: #0000FF; }");
}

// A rule made in the editor is kept as text from its first such edit, in
// the listing or, unchecked, for when it comes back.
TEST(DeclarationEntries, RulesWrittenFromTheirValuesBecomeText) {
    SheetDocument doc;
    doc.CreateStartRules();
    for (bool listed : {true, false}) {
        SCOPED_TRACE(listed ? "listed" : "unchecked");
        const int i = doc.FindRule(listed ? "P" : "EM");
        if (listed) doc.CheckRule(i, true);
        doc.SetValue(i, kColor, "red");
        doc.InsertDeclaration(i, 1, {"gap", "2px"});
        const std::string expected = doc.Rule(i).selector + " {\r\ncolor: red;\r\ngap: 2px;\r\n}";
        EXPECT_EQ(doc.RuleTextOf(i), expected);
        doc.CheckRule(i, true);
        EXPECT_NE(doc.StyleSheetText().find(expected + "\r\n"), std::string::npos);
        doc.SetValue(i, kColor, "blue");  // a page edit now edits the text
        EXPECT_EQ(Dump(doc, i), "color: blue, gap: 2px");
    }
    EXPECT_EQ(doc.GetListing().Count(), 8);

    // A rule given a read rule's values is kept as text the same way: its
    // text ends at its brace, and out of the sheet and back it changes nothing.
    ASSERT_TRUE(doc.ReadStyleSheetText(".a { gap: 1px }\n\n.b { top: 0 }\n", "s.css"));
    const int p = doc.FindRule("P");
    doc.CheckRule(p, true);
    doc.CopyRuleValues(doc.FindRule(".a"), p);
    EXPECT_EQ(doc.RuleTextOf(p), "P { gap: 1px }");
    const std::string sheet = doc.StyleSheetText();
    doc.CheckRule(doc.FindRule(".b"), false);
    doc.CheckRule(p, false);
    doc.CheckRule(p, true);
    doc.CheckRule(doc.FindRule(".b"), true);
    EXPECT_EQ(doc.StyleSheetText(), sheet);
}

// The generated table of known properties: data, checked once.
TEST(CssPropertyTable, HoldsTheKnownPropertiesInNameOrder) {
    const auto all = CssProperties();
    EXPECT_GT(all.size(), 500u);
    EXPECT_TRUE(std::is_sorted(all.begin(), all.end(), [](auto& a, auto& b) { return a.name < b.name; }));
    for (const char* known : {"border-radius", "grid-template-columns", "display", "-webkit-line-clamp", "color"})
        EXPECT_NE(FindCssProperty(known), nullptr) << known;
    for (const char* unknown : {"--bs-blue", "colour", "-foo-bar", "Color"}) EXPECT_EQ(FindCssProperty(unknown), nullptr) << unknown;
    const auto names = CssNamesStartingWith("border-r");
    EXPECT_NE(std::find(names.begin(), names.end(), "border-radius"), names.end());
    const auto display = CssKeywordsOf("display");
    EXPECT_NE(std::find(display.begin(), display.end(), "flex"), display.end());
    EXPECT_NE(std::find(display.begin(), display.end(), "inherit"), display.end());
    EXPECT_TRUE(FindCssProperty("background-color")->colour);
    EXPECT_FALSE(FindCssProperty("display")->colour);
}

}  // namespace
}  // namespace larkspur
