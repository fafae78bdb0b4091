#include <gtest/gtest.h>

#include <QFontDatabase>

#include "controls/color_button.h"
#include "controls/combo_list.h"
#include "controls/property_edit.h"
#include "controls/sample_text.h"
#include "page_driving.h"
#include "page_test_host.h"
#include "pages/font_page.h"

namespace larkspur {
namespace {

using testing::Checked;
using testing::Click;
using testing::Enabled;
using testing::Pick;
using testing::Text;

using enum CFontPage::ControlId;

class FontPageTest : public testing::PageFixture<CFontPage> {};

TEST_F(FontPageTest, CheckingAKeywordSwitchListsTheFirstItemOfItsList) {
    EXPECT_FALSE(Enabled(page, kStyleCombo));
    Click(page, kStyle);
    EXPECT_EQ(Lines(), "font-style: italic;\n");
    EXPECT_TRUE(Enabled(page, kStyleCombo));
    ASSERT_TRUE(Pick(page, kStyleCombo, "oblique"));
    EXPECT_EQ(Lines(), "font-style: oblique;\n");

    // Unchecking takes the line out but keeps the choice for the next check.
    Click(page, kStyle);
    EXPECT_EQ(Lines(), "");
    EXPECT_FALSE(Enabled(page, kStyleCombo));
    EXPECT_EQ(Text(page, kStyleCombo), "oblique");
    Click(page, kStyle);
    EXPECT_EQ(Lines(), "font-style: oblique;\n");

    Click(page, kVariant);
    EXPECT_EQ(Lines(), "font-style: oblique;\nfont-variant: normal;\n");
}

TEST_F(FontPageTest, WeightStoresTheTableValueOfTheChosenItem) {
    Click(page, kWeight);
    EXPECT_EQ(Lines(), "font-weight: 100;\n");  // "Very Light", first of the unsorted list
    const struct {
        const char* item;
        const char* stored;
    } cases[] = {{"Very Heavy", "700"}, {"Bold", "bold"}, {"Pale", "300"}, {"Black", "800"},
                 {"Lighter", "lighter"}, {"Normal", "normal"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.item);
        ASSERT_TRUE(Pick(page, kWeightCombo, c.item));
        EXPECT_EQ(Lines(), std::string("font-weight: ") + c.stored + ";\n");
        EXPECT_EQ(Text(page, kWeightCombo), c.item);
    }
}

TEST_F(FontPageTest, SizeGroupWalksThroughItsChoices) {
    for (int radio : {kAbsolute, kRelative, kValue, kPercent}) EXPECT_FALSE(Enabled(page, radio));
    Click(page, kSize);
    EXPECT_EQ(Lines(), "font-size: xx-small;\n");
    EXPECT_TRUE(Checked(page, kAbsolute));
    EXPECT_TRUE(Enabled(page, kAbsoluteCombo));
    EXPECT_FALSE(Enabled(page, kRelativeCombo));

    Click(page, kRelative);
    EXPECT_EQ(Lines(), "font-size: smaller;\n");
    EXPECT_FALSE(Checked(page, kAbsolute));
    EXPECT_FALSE(Enabled(page, kAbsoluteCombo));

    Click(page, kValue);  // empty edit: default number with the unit shown
    EXPECT_EQ(Text(page, kValueEdit), "12");
    EXPECT_EQ(Lines(), "font-size: 12%;\n");
    ASSERT_TRUE(Pick(page, kValueUnit, "pt"));
    EXPECT_EQ(Lines(), "font-size: 12pt;\n");
    testing::Retype(page.Edit(kValueEdit), "14");
    EXPECT_EQ(Lines(), "font-size: 14pt;\n");

    // The hidden Percentage choice still works as a member of the group.
    Click(page, kPercent);
    EXPECT_EQ(Lines(), "font-size: 100%;\n");

    Click(page, kSize);
    EXPECT_EQ(Lines(), "");
    EXPECT_FALSE(Enabled(page, kValue));
    EXPECT_FALSE(Enabled(page, kPercentEdit));
    Click(page, kSize);  // a value exists: listed again, choice kept
    EXPECT_EQ(Lines(), "font-size: 100%;\n");
    EXPECT_TRUE(Checked(page, kPercent));
}

TEST_F(FontPageTest, EveryKeystrokeStoresAndAnEmptyEditKeepsTheLastValue) {
    Click(page, kSize);
    Click(page, kValue);
    ASSERT_TRUE(Pick(page, kValueUnit, "px"));
    testing::Retype(page.Edit(kValueEdit), "");
    std::vector<std::string> seen;
    for (const char* key : {"1", "2"}) {
        testing::TypeText(page.Edit(kValueEdit), key);
        seen.push_back(Lines());
    }
    testing::PressKey(page.Edit(kValueEdit), Qt::Key_Backspace);
    seen.push_back(Lines());
    testing::PressKey(page.Edit(kValueEdit), Qt::Key_Backspace);
    seen.push_back(Lines());
    testing::TypeText(page.Edit(kValueEdit), "2xy");
    seen.push_back(Lines());
    EXPECT_EQ(seen, (std::vector<std::string>{"font-size: 1px;\n", "font-size: 12px;\n", "font-size: 1px;\n",
                                              "font-size: 1px;\n", "font-size: 2xypx;\n"}));
}

TEST_F(FontPageTest, UnitBoxWithoutANumberStoresNothing) {
    Click(page, kSize);
    Click(page, kValue);
    testing::Retype(page.Edit(kValueEdit), "");  // "1" was stored on the way
    ASSERT_TRUE(Pick(page, kValueUnit, "cm"));
    EXPECT_EQ(Lines(), "font-size: 1%;\n");  // not "font-size: cm;"
    testing::TypeText(page.Edit(kValueEdit), "3");
    EXPECT_EQ(Lines(), "font-size: 3cm;\n");
}

TEST_F(FontPageTest, FontFamilyJoinsItsThreeParts) {
    page.ListCombo(kFirstCombo)->AddItems(QStringList{"Aaa Test Face", "Bbb Test Face"});
    page.ListCombo(kSecondCombo)->AddItems(QStringList{"Aaa Test Face", "Bbb Test Face"});

    // Checking the first choice lists nothing before a family is picked.
    Click(page, kFirstCheck);
    EXPECT_EQ(Lines(), "");
    EXPECT_TRUE(Enabled(page, kFirstCombo));
    EXPECT_TRUE(Enabled(page, kSecondCheck));
    EXPECT_FALSE(Enabled(page, kSecondCombo));
    ASSERT_TRUE(Pick(page, kFirstCombo, "Bbb Test Face"));
    EXPECT_EQ(Lines(), "font-family: Bbb Test Face;\n");

    // Second choice: nothing until a family is picked for it.
    Click(page, kSecondCheck);
    EXPECT_EQ(Lines(), "font-family: Bbb Test Face;\n");
    EXPECT_TRUE(Enabled(page, kSecondCombo));
    ASSERT_TRUE(Pick(page, kSecondCombo, "Aaa Test Face"));
    EXPECT_EQ(Lines(), "font-family: Bbb Test Face, Aaa Test Face;\n");

    Click(page, kGenericCheck);
    ASSERT_TRUE(Pick(page, kGenericCombo, "monospace"));
    EXPECT_EQ(Lines(), "font-family: Bbb Test Face, Aaa Test Face, monospace;\n");

    // Without a first choice the second is not written; the generic stays.
    Click(page, kFirstCheck);
    EXPECT_EQ(Lines(), "font-family: monospace;\n");
    EXPECT_EQ(host.Entry(kFontFamily).alternateSet, 1);
    EXPECT_FALSE(Enabled(page, kSecondCheck));
    Click(page, kFirstCheck);
    EXPECT_EQ(Lines(), "font-family: Bbb Test Face, Aaa Test Face, monospace;\n");

    Click(page, kSecondCheck);
    EXPECT_EQ(Lines(), "font-family: Bbb Test Face, monospace;\n");
    Click(page, kGenericCheck);
    EXPECT_EQ(Lines(), "font-family: Bbb Test Face;\n");
    Click(page, kFirstCheck);
    EXPECT_EQ(Lines(), "");
}

TEST_F(FontPageTest, GenericAloneNeverWritesAnEmptyFirstPart) {
    Click(page, kGenericCheck);  // "serif" shown but not picked yet
    EXPECT_EQ(Lines(), "");
    ASSERT_TRUE(Pick(page, kGenericCombo, "serif"));
    EXPECT_EQ(Lines(), "font-family: serif;\n");
    // First choice checked while no family was ever picked for it.
    Click(page, kFirstCheck);
    EXPECT_EQ(Lines(), "font-family: serif;\n");
    Click(page, kGenericCheck);
    EXPECT_EQ(Lines(), "");
}

TEST_F(FontPageTest, InstalledFamiliesAreListedOnceInSortedOrder) {
    QStringList expected = CssFamilyNames(QFontDatabase::families());
    std::sort(expected.begin(), expected.end(),
              [](const QString& a, const QString& b) { return ComboItemLess(a, b); });
    EXPECT_EQ(page.ListCombo(kFirstCombo)->Items(), expected);
    EXPECT_EQ(page.ListCombo(kSecondCombo)->Items(), expected);
    // A fresh rule shows the first family (or nothing) and "serif".
    EXPECT_EQ(Text(page, kFirstCombo), expected.isEmpty() ? "" : expected.front().toStdString());
    EXPECT_EQ(Text(page, kGenericCombo), "serif");
}

TEST(FontFamilies, FoundryTagsAreDroppedAndNamesListedOnce) {
    EXPECT_EQ(CssFamilyNames({"C059 [UKWN]", "C059 [URW]", "DejaVu Sans", "Odd [name] Mono"}),
              QStringList({"C059", "DejaVu Sans", "Odd [name] Mono"}));
}

TEST_F(FontPageTest, ColourButtonsStoreTheirColourConfirmedOrNot) {
    // Binding gave the entry the starting colour without marking it changed.
    EXPECT_EQ(host.Entry(kColor).value, "#FF0000");
    EXPECT_EQ(host.Entry(kColor).changed, 0);
    EXPECT_FALSE(Enabled(page, kColourButton));
    EXPECT_EQ(page.ColourButton(kColourButton)->GetColorText(), "");

    Click(page, kColour);  // the rule's own colour, black
    EXPECT_EQ(Lines(), "color: #000000;\n");
    host.dialogs.colours.push_back(MakeColour(0x12, 0xAB, 0xFF));
    Click(page, kColourButton);
    EXPECT_EQ(Lines(), "color: #12ABFF;\n");
    EXPECT_EQ(page.Sample()->TextColour(), MakeColour(0x12, 0xAB, 0xFF));
    host.dialogs.colours.push_back(std::nullopt);  // cancelled
    Click(page, kColourButton);
    EXPECT_EQ(Lines(), "color: #12ABFF;\n");
    // The dialog starts at the button's colour.
    EXPECT_EQ(host.dialogs.Transcript(), (std::vector<std::string>{"Colour: : 0", "Colour: : 16755474"}));

    Click(page, kBack);
    EXPECT_EQ(Lines(), "color: #12ABFF;\nbackground-color: #FFFFFF;\n");
    Click(page, kColour);
    EXPECT_EQ(Lines(), "background-color: #FFFFFF;\n");
    EXPECT_EQ(page.Sample()->TextColour(), 0x000000u);  // neutral while off
}

TEST_F(FontPageTest, HelpLineAndToolTips) {
    QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), QPointF(2, 2), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(page.Button(kSize), &move);
    EXPECT_EQ(host.helpLines, std::vector<std::string>{""});
    EXPECT_EQ(page.Button(kSize)->toolTip(), "font-size - Sets the font size of the selected tag");
    EXPECT_EQ(page.Button(kVariant)->toolTip(),
              "font-variant - Enables you to select the font to \"small-caps\"");
}

TEST(FontPageBinding, NothingIsStoredWhileNoRuleIsSelected) {
    testing::FakePageHost host;
    host.document.SetSelectedIndex(-1);
    CFontPage page(host);
    page.LoadFromRule();
    page.RefreshEnabling();
    Click(page, kStyle);  // plain check box behaviour only
    host.document.SetSelectedIndex(0);
    EXPECT_EQ(host.Entry(kFontStyle).changed, 0);
    EXPECT_EQ(host.Entry(kColor).value, "");
}

}  // namespace
}  // namespace larkspur
