#include <gtest/gtest.h>

#include <random>
#include <stdexcept>

#include "css/sheet_document.h"
#include "model/vocabulary.h"

namespace larkspur {
namespace {

// The listing with each line end shown as "|".
std::string Dump(const SheetDocument& doc) {
    std::string out;
    for (char c : doc.GetListing().Text())
        if (c == '\n')
            out += '|';
        else if (c != '\r')
            out += c;
    return out;
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

// A sheet made in the editor is written from its values: rules in list order,
// declarations in property order, CR LF line ends; the listing is the file.
TEST_F(ListingTest, EditorRulesAreWrittenInListOrderFromTheirValues) {
    ListRule("P");
    ListRule("H1");
    EXPECT_EQ(Dump(doc), "H1 {|}|P {|}|");
    Set("P", kColor, "red");
    Set("H1", kFontStyle, "italic");
    Set("H1", kFontSize, "12pt");
    EXPECT_EQ(Dump(doc), "H1 {|font-style: italic;|font-size: 12pt;|}|P {|color: red;|}|");
    EXPECT_EQ(doc.StyleSheetText(), "H1 {\r\nfont-style: italic;\r\nfont-size: 12pt;\r\n}\r\nP {\r\ncolor: red;\r\n}\r\n");
    EXPECT_TRUE(doc.Modified());
    EXPECT_EQ(doc.RuleLines(doc.FindRule("P")), std::make_pair(4, 3));

    Set("H1", kFontSize, "");
    EXPECT_EQ(Dump(doc), "H1 {|font-style: italic;|}|P {|color: red;|}|");

    // Changes of a rule out of the sheet wait for it.
    Set("EM", kTextDecoration + 1, "2px");  // letter-spacing
    Set("EM", kColor, "blue");
    EXPECT_EQ(doc.RuleLines(doc.FindRule("EM")).first, -1);
    ListRule("EM");
    EXPECT_EQ(Dump(doc), "EM {|color: blue;|letter-spacing: 2px;|}|H1 {|font-style: italic;|}|P {|color: red;|}|");

    Select("H1");
    doc.UnlistRule();
    EXPECT_EQ(Dump(doc), "EM {|color: blue;|letter-spacing: 2px;|}|P {|color: red;|}|");
    doc.ListRule();
    EXPECT_EQ(Dump(doc), "EM {|color: blue;|letter-spacing: 2px;|}|H1 {|font-style: italic;|}|P {|color: red;|}|");
}

TEST_F(ListingTest, EmptyValuesTakeTheDeclarationOutAndNeverListedIsHarmless) {
    ListRule("B");
    Select("B");
    doc.UnlistDeclaration(kColor);  // never listed
    doc.ListDeclaration(kColor);  // all texts empty
    EXPECT_EQ(Dump(doc), "B {|}|");
    // A family part switched off keeps its text but is no longer set.
    doc.SetFamilyPart(doc.SelectedIndex(), SheetDocument::FamilyPart::First, "Arial");
    doc.SwitchFamilyPart(doc.SelectedIndex(), SheetDocument::FamilyPart::First, false);
    doc.ListDeclaration(kFontFamily);  // nothing set: only marked changed
    const PropertyEntry& e = doc.SelectedRule()->properties[kFontFamily];
    EXPECT_EQ(e.value, "Arial");
    EXPECT_EQ(e.changed, 1);
    EXPECT_EQ(Dump(doc), "B {|}|");
}

TEST_F(ListingTest, CopyRemoveRenameClearAndReset) {
    ListRule("H1");
    ListRule("H2");
    Set("H1", kColor, "red");
    Set("H1", kFontStyle, "italic");
    Set("H2", kTextAlign, "center");
    doc.CopyRuleValues(doc.FindRule("H2"), doc.FindRule("H1"));
    EXPECT_EQ(Dump(doc), "H1 {|text-align: center;|}|H2 {|text-align: center;|}|");
    Set("H1", kTextAlign, "left");
    EXPECT_EQ(Dump(doc), "H1 {|text-align: left;|}|H2 {|text-align: center;|}|");

    doc.RenameRule(doc.FindRule("H2"), ".bold");
    EXPECT_EQ(Dump(doc), "H1 {|text-align: left;|}|.bold {|text-align: center;|}|");
    doc.ClearRule(doc.FindRule("H1"));
    EXPECT_EQ(Dump(doc), "H1 {|}|.bold {|text-align: center;|}|");
    EXPECT_EQ(doc.Rules()[doc.FindRule("H1")].listed, 1);

    doc.SetSelectedIndex(doc.FindRule("H1"));
    doc.RemoveRule(doc.FindRule("H1"));
    EXPECT_EQ(Dump(doc), ".bold {|text-align: center;|}|");
    EXPECT_EQ(doc.RuleCount(), 55);
    ASSERT_TRUE(doc.SelectedRule());
    doc.SetSelectedIndex(doc.LastIndex());
    doc.RemoveRule(doc.LastIndex());
    EXPECT_EQ(doc.SelectedIndex(), doc.LastIndex()) << "deleting the last rule selects the new last";

    doc.ResetAllRules();
    EXPECT_EQ(doc.StyleSheetText(), "");
    EXPECT_EQ(doc.RuleCount(), 56);  // the start rules again
    while (doc.RuleCount() > 0) doc.RemoveRule(0);
    EXPECT_EQ(doc.SelectedIndex(), -1);
    doc.ListRule();  // no rule selected: nothing happens
    doc.ListDeclaration(0);
}

// A view that follows the notifications alone holds the listing's lines
// after any run of edits.
TEST(ListingTextTest, NotificationsKeepAViewInStep) {
    class View : public ListingObserver {
    public:
        void LineInserted(int i, std::string_view t) override { lines.insert(lines.begin() + i, std::string(t)); }
        void LinesRemoved(int f, int n) override { lines.erase(lines.begin() + f, lines.begin() + f + n); }
        void LineReplaced(int i, std::string_view t) override { lines[static_cast<size_t>(i)] = t; }
        void LinesCleared() override { lines = listing->Lines(); }
        const Listing* listing = nullptr;
        std::vector<std::string> lines;
    };
    std::mt19937 random(7);
    Listing listing;
    View view;
    view.listing = &listing;
    listing.SetObserver(&view);
    std::string plain;
    auto pick = [&](size_t n) { return n == 0 ? size_t{0} : random() % n; };
    const std::string_view pieces[] = {"a", "bc", "\n", "\r\n", "x\ny", "\n\n", "long line\r\n", ""};
    for (int step = 0; step < 4000; ++step) {
        const size_t at = pick(plain.size() + 1);
        const size_t length = pick(std::min<size_t>(plain.size() - at, 12) + 1);
        std::string text;
        for (size_t n = pick(4); n-- > 0;) text += pieces[pick(std::size(pieces))];
        if (step % 500 == 0) {
            listing.Assign(plain);
        } else {
            listing.ReplaceRange(at, length, text);
            plain.replace(at, length, text);
        }
        ASSERT_EQ(listing.Text(), plain) << "step " << step;
        ASSERT_EQ(view.lines, listing.Lines()) << "step " << step;
        for (int i = 0; i < listing.Count(); ++i)
            ASSERT_EQ(listing.LineAt(listing.LineStart(i)), i);
    }
    EXPECT_THROW(listing.Line(listing.Count()), std::out_of_range);
}

}  // namespace
}  // namespace larkspur
