#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <stdexcept>

#include "css/sheet_document.h"
#include "model/vocabulary.h"

namespace larkspur {
namespace {

// The listing and every listed rule's bookkeeping, one line each, so a test
// can assert on the whole state at once.
std::string Dump(const SheetDocument& doc) {
    std::ostringstream out;
    for (const std::string& line : doc.GetListing().Lines()) out << line << "\n";
    out << "--\n";
    for (const StyleRule& r : doc.Rules()) {
        if (!r.listed) continue;
        out << r.selector << " @" << r.firstLine << "+" << r.lineCount;
        for (int i = 0; i < kPropertyCount; ++i)
            if (r.properties[i].listed) out << " " << i << ":" << r.properties[i].line;
        out << "\n";
    }
    return out.str();
}

class ListingTest : public ::testing::Test {
protected:
    void SetUp() override { doc.CreateStartRules(); }

    int Select(std::string_view selector) {
        int i = doc.FindRule(selector);
        doc.SetSelectedIndex(i);
        return i;
    }
    void ListRule(std::string_view selector) {
        Select(selector);
        doc.SetChecked(doc.SelectedIndex(), true);
        doc.ListRule();
    }
    // What a page does when the user sets a value.
    void Set(std::string_view selector, int entry, std::string value) {
        doc.SetValue(Select(selector), entry, value);
    }

    SheetDocument doc;
};

TEST_F(ListingTest, StartStateHasTheTagRulesUnlisted) {
    EXPECT_EQ(doc.RuleCount(), 56);
    EXPECT_EQ(doc.SelectedIndex(), 0);
    EXPECT_EQ(doc.Rules()[0].selector, "ADDRESS");
    EXPECT_EQ(doc.GetListing().Count(), 0);
    EXPECT_FALSE(doc.Modified());
    EXPECT_EQ(doc.StyleSheetText(), "");
}

TEST_F(ListingTest, DeclarationsKeepRulesBelowInStep) {
    ListRule("H1");
    ListRule("P");
    EXPECT_EQ(Dump(doc), "H1{\n}\nP{\n}\n--\nH1 @0+1\nP @2+1\n");

    Set("P", kColor, "red");
    Set("H1", kFontSize, "12pt");
    Set("H1", kFontStyle, "italic");
    EXPECT_EQ(Dump(doc),
              "H1{\nfont-size: 12pt;\nfont-style: italic;\n}\nP{\ncolor: red;\n}\n--\n"
              "H1 @0+3 1:2 3:1\nP @4+2 5:1\n");
    EXPECT_TRUE(doc.Modified());

    // Replacing in place moves nothing.
    Set("H1", kFontSize, "14pt");
    EXPECT_EQ(doc.GetListing().Line(1), "font-size: 14pt;");
    EXPECT_EQ(doc.Rules()[doc.FindRule("P")].firstLine, 4);

    // Removing a declaration moves the rules below and the lines after it up.
    Select("H1");
    doc.SetValue(doc.SelectedIndex(), kFontSize, "");
    EXPECT_EQ(Dump(doc), "H1{\nfont-style: italic;\n}\nP{\ncolor: red;\n}\n--\nH1 @0+2 1:1\nP @3+2 5:1\n");
}

TEST_F(ListingTest, UnlistedRuleRecordsChangesAndListsThemInIndexOrder) {
    Set("EM", kTextDecoration + 1, "2px");  // letter-spacing
    Set("EM", kColor, "blue");
    EXPECT_EQ(doc.GetListing().Count(), 0);
    EXPECT_FALSE(doc.Modified());
    ListRule("EM");
    EXPECT_EQ(Dump(doc), "EM{\ncolor: blue;\nletter-spacing: 2px;\n}\n--\nEM @0+3 5:1 13:2\n");
}

TEST_F(ListingTest, UnlistAndListAgainRestoresDeclarations) {
    ListRule("H1");
    ListRule("H2");
    ListRule("H3");
    Set("H2", kTextDecoration, "underline");
    Set("H2", kFontStyle, "oblique");
    Set("H3", kColor, "red");
    Select("H2");
    doc.UnlistRule();
    EXPECT_EQ(Dump(doc), "H1{\n}\nH3{\ncolor: red;\n}\n--\nH1 @0+1\nH3 @2+2 5:1\n");
    doc.ListRule();
    EXPECT_EQ(Dump(doc),
              "H1{\n}\nH3{\ncolor: red;\n}\nH2{\nfont-style: oblique;\ntext-decoration: underline;\n}\n--\n"
              "H1 @0+1\nH2 @5+3 1:1 12:2\nH3 @2+2 5:1\n");
    EXPECT_EQ(doc.GetListing().Count(), 9);
}

TEST_F(ListingTest, EmptyValuesTakeTheDeclarationOutAndNeverListedIsHarmless) {
    ListRule("B");
    Select("B");
    doc.UnlistDeclaration(kColor);  // never listed
    doc.ListDeclaration(kColor);  // all texts empty
    EXPECT_EQ(Dump(doc), "B{\n}\n--\nB @0+1\n");
    // A family part switched off keeps its text but is no longer set.
    doc.SetFamilyPart(doc.SelectedIndex(), SheetDocument::FamilyPart::First, "Arial");
    doc.SwitchFamilyPart(doc.SelectedIndex(), SheetDocument::FamilyPart::First, false);
    doc.ListDeclaration(kFontFamily);  // nothing set: only marked changed
    const PropertyEntry& e = doc.SelectedRule()->properties[kFontFamily];
    EXPECT_EQ(e.value, "Arial");
    EXPECT_EQ(e.changed, 1);
    EXPECT_EQ(doc.GetListing().Count(), 2);
}

TEST_F(ListingTest, CopyIntoListedRuleKeepsListingTrue) {
    ListRule("H1");
    ListRule("H2");
    Set("H1", kColor, "red");
    Set("H1", kFontStyle, "italic");
    Set("H2", kTextAlign, "center");
    doc.CopyRuleValues(doc.FindRule("H2"), doc.FindRule("H1"));
    EXPECT_EQ(Dump(doc), "H1{\ntext-align: center;\n}\nH2{\ntext-align: center;\n}\n--\nH1 @0+2 16:1\nH2 @3+2 16:1\n");
    // A later change of the target replaces its own line, not the source's.
    Set("H1", kTextAlign, "left");
    EXPECT_EQ(doc.GetListing().Line(1), "text-align: left;");
    EXPECT_EQ(doc.GetListing().Line(4), "text-align: center;");
}

TEST_F(ListingTest, RemoveRenameAndClear) {
    ListRule("A");
    ListRule("B");
    Set("A", kColor, "red");
    Set("B", kColor, "blue");
    doc.RenameRule(doc.FindRule("B"), ".bold");
    EXPECT_EQ(doc.GetListing().Line(3), ".bold{");
    doc.ClearRule(doc.FindRule("A"));
    EXPECT_EQ(Dump(doc), "A{\n}\n.bold{\ncolor: blue;\n}\n--\nA @0+1\n.bold @2+2 5:1\n");
    EXPECT_EQ(doc.Rules()[doc.FindRule("A")].listed, 1);

    doc.SetSelectedIndex(doc.FindRule("A"));
    doc.RemoveRule(doc.FindRule("A"));
    EXPECT_EQ(Dump(doc), ".bold{\ncolor: blue;\n}\n--\n.bold @0+2 5:1\n");
    EXPECT_EQ(doc.RuleCount(), 55);
    ASSERT_TRUE(doc.SelectedRule());

    doc.SetSelectedIndex(doc.LastIndex());
    doc.RemoveRule(doc.LastIndex());
    EXPECT_EQ(doc.SelectedIndex(), doc.LastIndex()) << "deleting the last rule selects the new last";
    while (doc.RuleCount() > 0) doc.RemoveRule(0);
    EXPECT_EQ(doc.SelectedIndex(), -1);
    EXPECT_EQ(doc.SelectedRule(), nullptr);
    doc.ListRule();  // no rule selected: nothing happens
    doc.ListDeclaration(0);
}

// The listing keeps its lines end to end in one text: any run of edits gives
// the lines a plain list of strings would hold.
TEST(ListingTextTest, EditsAgreeWithAListOfLines) {
    std::mt19937 random(7);
    Listing listing;
    std::vector<std::string> lines;
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    for (int step = 0; step < 3000; ++step) {
        const std::string text(static_cast<size_t>(pick(40)), static_cast<char>('a' + pick(26)));
        const int at = lines.empty() ? 0 : pick(static_cast<int>(lines.size()));
        switch (pick(5)) {
        case 0: listing.Append(text); lines.push_back(text); break;
        case 1: listing.Insert(at, text); lines.insert(lines.begin() + at, text); break;
        case 2:
            listing.Insert(at, std::vector<std::string>{text, "", text + "!"});
            lines.insert(lines.begin() + at, {text, "", text + "!"});
            break;
        case 3:
            if (lines.empty()) break;
            listing.Replace(at, text);
            lines[static_cast<size_t>(at)] = text;
            break;
        case 4: {
            const int count = std::min(pick(4), static_cast<int>(lines.size()) - at);
            listing.Remove(at, count);
            if (count > 0) lines.erase(lines.begin() + at, lines.begin() + at + count);
            break;
        }
        }
        ASSERT_EQ(listing.Lines(), lines) << "step " << step;
    }
    EXPECT_THROW(listing.Line(listing.Count()), std::out_of_range);
}

TEST_F(ListingTest, ResetAllEmptiesListingAndChecks) {
    ListRule("A");
    Set("A", kColor, "red");
    doc.ResetAllRules();
    EXPECT_EQ(doc.GetListing().Count(), 0);
    EXPECT_FALSE(doc.IsChecked(doc.FindRule("A")));
    EXPECT_EQ(doc.StyleSheetText(), "");
    EXPECT_EQ(doc.RuleCount(), 56);
}

}  // namespace
}  // namespace larkspur
