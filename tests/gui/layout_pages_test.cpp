#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLineEdit>
#include <QSet>
#include <functional>
#include <memory>
#include <ostream>

#include "controls/property_combo.h"
#include "controls/property_edit.h"
#include "page_test_host.h"
#include "pages/border_page.h"
#include "pages/margin_page.h"
#include "pages/padding_page.h"
#include "pages/position_page.h"
#include "pages/word_page.h"
#include "widget_driving.h"

namespace larkspur {
namespace {

using testing::FakePageHost;
using testing::TypeText;

// One page over a fresh, listed rule (H1), driven through its real widgets.
template <typename Page>
class LayoutPageTest : public ::testing::Test {
protected:
    void SetUp() override {
        page = std::make_unique<Page>(host);
        Show(host.document.FindRule("H1"));
    }
    // Selecting another rule: the page's controls go into the rule shown so
    // far, then the new rule is listed and shown.
    void Show(int rule) {
        if (shown_) page->StoreToRule();
        shown_ = true;
        host.SelectListedRule(rule);
        host.loading = true;
        page->LoadFromRule();
        page->RefreshEnabling();
        host.loading = false;
    }

    void Click(int id) { page->Button(id)->click(); }
    // Picks an item in the drop-down list and closes it.
    void Choose(int id, const QString& item) {
        CPropertyCombo* combo = page->Combo(id);
        const int index = combo->findText(item);
        ASSERT_GE(index, 0) << item.toStdString();
        combo->setCurrentIndex(index);
        emit combo->ClosedUp();
    }
    void Type(int id, const QString& text) { TypeText(page->Edit(id), text); }
    bool On(int id) const { return page->Control(id)->isEnabled(); }
    bool Checked(int id) const { return page->Button(id)->isChecked(); }
    QString Text(int id) const {
        if (CPropertyCombo* combo = page->Combo(id)) return combo->currentText();
        return page->Edit(id)->text();
    }
    QStringList Items(int id) const { return page->Combo(id)->Items(); }
    std::string Value(int property) { return host.Entry(property).value; }

    FakePageHost host;
    std::unique_ptr<Page> page;
    bool shown_ = false;
};

// ------------------------------------------------------------------ Text

using WordPageTest = LayoutPageTest<CWordPage>;

TEST_F(WordPageTest, SpacingAndIndentFillInOneWithTheUnitShown) {
    Click(1104);
    EXPECT_EQ(Text(1105), "1");
    EXPECT_EQ(host.Lines(), "word-spacing: 1%;\n");
    Choose(1111, "em");  // unit of a switch that is off: the box is disabled, nothing listed
    Click(1109);
    EXPECT_EQ(host.Lines(), "word-spacing: 1%;\nletter-spacing: 1em;\n");
    Click(1125);
    Choose(1129, "px");
    Type(1128, "5");
    EXPECT_EQ(host.Lines(), "word-spacing: 1%;\nletter-spacing: 1em;\ntext-indent: 15px;\n");
}

TEST_F(WordPageTest, VerticalAlignDefaultsToFirstKeywordThenPercentage) {
    EXPECT_FALSE(On(1113));
    EXPECT_FALSE(On(1114));
    Click(1112);
    EXPECT_TRUE(Checked(1113));
    EXPECT_EQ(host.Lines(), "vertical-align: baseline;\n");
    EXPECT_TRUE(On(1115));
    EXPECT_FALSE(On(1116));
    Click(1114);
    EXPECT_EQ(Text(1116), "0");
    EXPECT_EQ(host.Lines(), "vertical-align: 0%;\n");
    EXPECT_FALSE(On(1115));
    Click(1112);  // off: out of the listing, radios disabled, values kept
    EXPECT_EQ(host.Lines(), "");
    EXPECT_FALSE(On(1113));
    EXPECT_FALSE(On(1116));
    Click(1112);  // a value exists: listed again, the choice stays
    EXPECT_TRUE(Checked(1114));
    EXPECT_EQ(host.Lines(), "vertical-align: 0%;\n");
}

TEST_F(WordPageTest, LineHeightNumberValueAndKeyword) {
    Click(1130);
    EXPECT_TRUE(Checked(1131));
    EXPECT_EQ(Value(kLineHeight), "0");
    EXPECT_EQ(host.Lines(), "line-height: 0;\n");
    Click(1132);
    EXPECT_EQ(host.Lines(), "line-height: 1%;\n");
    // The unsorted unit list starts with "em".
    Choose(1135, "em");
    EXPECT_EQ(host.Lines(), "line-height: 1em;\n");
    Click(1133);
    EXPECT_EQ(host.Lines(), "line-height: none;\n");
    EXPECT_FALSE(On(1136));
    EXPECT_FALSE(On(1135));
    EXPECT_TRUE(On(1134));
}

TEST_F(WordPageTest, ListsAreSortedOnlyWhereThePageSaysSo) {
    const QStringList sortedUnits = {"%", "cm", "em", "ex", "in", "mm", "pt", "px"};
    for (int id : {1106, 1111, 1129}) EXPECT_EQ(Items(id), sortedUnits) << id;
    EXPECT_EQ(Items(1135), QStringList({"em", "in", "cm", "mm", "pt", "px", "ex", "%"}));
    EXPECT_EQ(Items(1108), QStringList({"none", "underline", "overline", "blink", "line-through"}));
    EXPECT_EQ(Items(1118), QStringList({"capitalize", "uppercase", "lowercase", "none"}));
    EXPECT_EQ(Items(1120), QStringList({"left", "right", "center", "justify"}));
    EXPECT_EQ(Items(1115), QStringList({"baseline", "middle", "sub", "super", "text-bottom", "text-top"}));
    EXPECT_EQ(Items(1134), QStringList({"none"}));
}

TEST_F(WordPageTest, KeywordSwitchesListTheirFirstItem) {
    Click(1107);
    Click(1117);
    Click(1119);
    EXPECT_EQ(host.Lines(), "text-decoration: none;\ntext-transform: capitalize;\ntext-align: left;\n");
    Choose(1120, "justify");
    Click(1117);
    EXPECT_EQ(host.Lines(), "text-decoration: none;\ntext-align: justify;\n");
}

// --------------------------------------------------------------- Margins

using MarginPageTest = LayoutPageTest<CMarginPage>;

TEST_F(MarginPageTest, ValueAutoAndUnitOfOneSide) {
    Click(1144);
    EXPECT_TRUE(Checked(1145));
    EXPECT_EQ(Text(1147), "1");
    EXPECT_EQ(host.Lines(), "margin-top: 1%;\n");
    Click(1146);
    EXPECT_EQ(host.Lines(), "margin-top: auto;\n");
    EXPECT_FALSE(On(1147));
    EXPECT_TRUE(On(1164));
    Click(1145);
    EXPECT_EQ(host.Lines(), "margin-top: 1%;\n");
    Choose(1148, "px");
    EXPECT_EQ(host.Lines(), "margin-top: 1px;\n");
    Type(1147, "2");
    EXPECT_EQ(host.Lines(), "margin-top: 12px;\n");
    page->Edit(1147)->clear();  // an empty edit stores nothing
    EXPECT_EQ(host.Lines(), "margin-top: 12px;\n");
}

TEST_F(MarginPageTest, UncheckingOneSideLeavesTheOthers) {
    Click(1144);
    Click(1159);
    Click(1161);
    EXPECT_EQ(host.Lines(), "margin-top: 1%;\nmargin-right: auto;\n");
    Click(1144);
    EXPECT_EQ(host.Lines(), "margin-right: auto;\n");
    for (int id : {1145, 1146, 1147, 1148, 1164}) EXPECT_FALSE(On(id)) << id;
    EXPECT_TRUE(On(1161));
    EXPECT_TRUE(On(1167));
    EXPECT_EQ(Text(1147), "1");
}

// --------------------------------------------------------------- Padding

using PaddingPageTest = LayoutPageTest<CPaddingPage>;

TEST_F(PaddingPageTest, SideOnOffKeepsItsValue) {
    Click(1171);
    EXPECT_EQ(host.Lines(), "padding-left: 1%;\n");
    Type(1172, "0");
    Choose(1173, "em");
    EXPECT_EQ(host.Lines(), "padding-left: 10em;\n");
    Click(1171);
    EXPECT_EQ(host.Lines(), "");
    EXPECT_FALSE(On(1172));
    EXPECT_FALSE(On(1173));
    EXPECT_EQ(Text(1172), "10");
    Click(1171);
    EXPECT_EQ(host.Lines(), "padding-left: 10em;\n");
}

// ---------------------------------------------------------------- Border

class BorderPageTest : public LayoutPageTest<CBorderPage> {
protected:
    // Top side controls.
    enum { kStyle = 1174, kStyleBox = 1175, kColour = 1176, kSwatch = 1177, kWidth = 1184, kValue = 1181,
           kEdit = 1179, kUnit = 1180, kKeyword = 1182, kKeywordBox = 1183 };
};

TEST_F(BorderPageTest, StyleOnAFreshSideIsTheFirstSortedStyle) {
    EXPECT_EQ(Items(kStyleBox).first(), "dashed");
    EXPECT_EQ(Items(kKeywordBox), QStringList({"thin", "medium", "thick"}));
    Click(kStyle);
    EXPECT_EQ(Value(kBorderTop), "dashed");
    EXPECT_EQ(host.Lines(), "border-top: dashed;\n");
}

TEST_F(BorderPageTest, PartsJoinInOrderAndDropOutWhenSwitchedOff) {
    Click(kStyle);
    Choose(kStyleBox, "solid");
    Click(kColour);
    EXPECT_EQ(host.Lines(), "border-top: solid #FF0000;\n");
    Click(kWidth);
    EXPECT_TRUE(Checked(kValue));
    EXPECT_EQ(Text(kEdit), "1");
    EXPECT_EQ(host.Lines(), "border-top: 1% solid #FF0000;\n");
    Click(kKeyword);
    EXPECT_EQ(host.Lines(), "border-top: thin solid #FF0000;\n");
    Choose(kKeywordBox, "thick");
    EXPECT_EQ(host.Lines(), "border-top: thick solid #FF0000;\n");
    Click(kColour);
    EXPECT_EQ(host.Lines(), "border-top: thick solid;\n");
    Click(kStyle);
    EXPECT_EQ(host.Lines(), "border-top: thick;\n");
}

TEST_F(BorderPageTest, ValueEditRecomposesAtEveryKeystroke) {
    Click(kWidth);
    Choose(kUnit, "px");
    EXPECT_EQ(host.Lines(), "border-top: 1px;\n");
    Type(kEdit, "5");
    EXPECT_EQ(host.Lines(), "border-top: 15px;\n");
    Click(kStyle);
    page->Edit(kEdit)->clear();  // no width part any more
    EXPECT_EQ(host.Lines(), "border-top: dashed;\n");
    EXPECT_EQ(page->LastWidth(CBorderPage::kTopSide), "");
}

TEST_F(BorderPageTest, WidthOffUnlistsAndTheNextChangeListsAgain) {
    Click(kWidth);
    Click(kStyle);
    EXPECT_EQ(host.Lines(), "border-top: 1% dashed;\n");
    Click(kWidth);
    EXPECT_EQ(host.Lines(), "");
    EXPECT_FALSE(On(kValue));
    EXPECT_FALSE(On(kEdit));
    Choose(kStyleBox, "groove");
    EXPECT_EQ(host.Lines(), "border-top: groove;\n");
}

TEST_F(BorderPageTest, ChosenColourIsWrittenAsHexAndCancelKeepsTheOldOne) {
    Click(kColour);
    host.dialogs.colours.push_back(MakeColour(0x12, 0xAB, 0x0F));
    Click(kSwatch);
    EXPECT_EQ(host.Lines(), "border-top: #12AB0F;\n");
    Click(kSwatch);  // cancelled: the shown colour is written again
    EXPECT_EQ(host.Lines(), "border-top: #12AB0F;\n");
    Click(kStyle);
    EXPECT_EQ(host.Lines(), "border-top: dashed #12AB0F;\n");
}

TEST_F(BorderPageTest, SidesAreIndependent) {
    Click(1194);         // left Style
    Click(1203);         // left Width: its unit starts empty and shows "%"
    Click(1206);         // right Color
    Click(1193);         // bottom Width
    Click(1191);         // bottom Keyword
    EXPECT_EQ(host.Lines(),
              "border-bottom: thin;\nborder-left: 1% dashed;\nborder-right: #FF0000;\n");
    for (int property : {kBorderTop, kBorderBottom, kBorderLeft, kBorderRight})
        EXPECT_EQ(host.Entry(property).listed, property != kBorderTop) << property;
}

// A width composed for one rule must not keep Width from filling in a width
// on the next rule, which has none.
TEST_F(BorderPageTest, WidthFillsInOnEveryRule) {
    Click(kWidth);
    EXPECT_EQ(host.Lines(), "border-top: 1%;\n");
    Show(host.document.FindRule("P"));
    EXPECT_EQ(Text(kEdit), "");
    Click(kWidth);
    EXPECT_EQ(Text(kEdit), "1");
    EXPECT_EQ(host.Lines(), "border-top: 1%;\n");
}

// While Width is off no width part is written, a keyword no more than a number;
// checking Width again brings the chosen keyword back.
TEST_F(BorderPageTest, KeywordIsLeftOutWhileWidthIsOff) {
    Click(kWidth);
    Click(kKeyword);
    EXPECT_EQ(host.Lines(), "border-top: thin;\n");
    Click(kWidth);
    Click(kStyle);
    EXPECT_EQ(host.Lines(), "border-top: dashed;\n");
    Click(kWidth);
    EXPECT_TRUE(Checked(kKeyword));
    EXPECT_EQ(host.Lines(), "border-top: thin dashed;\n");
}

// --------------------------------------------------------------- Positioning

using PositionPageTest = LayoutPageTest<CPositionPage>;

TEST_F(PositionPageTest, EachSwitchListsItsDefault) {
    struct Case {
        int check, value;
        int property;
        const char* line;
    };
    const Case cases[] = {
        {1187, 1188, kZIndex, "z-index: 1;"},      {1189, 1190, kPosition, "position: absolute;"},
        {1199, 1200, kWidth, "width: 1%;"},        {1130, 1203, kHeight, "height: 1%;"},
        {1206, 1016, kClear, "clear: both;"},      {1202, 1205, kFloat, "float: left;"},
        {1185, 1186, kVisibility, "visibility: hidden;"}, {1191, 1192, kOverflow, "overflow: auto;"},
        {1193, 1194, kLeft, "left: 1%;"},          {1196, 1197, kTop, "top: 1%;"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_FALSE(On(c.value));
        Click(c.check);
        EXPECT_TRUE(On(c.value));
        const PropertyEntry& e = host.Entry(c.property);
        EXPECT_TRUE(e.listed);
        EXPECT_EQ(host.Lines(), std::string(c.line) + "\n");
        Click(c.check);
        EXPECT_FALSE(e.listed);
        EXPECT_FALSE(On(c.value));
    }
    EXPECT_EQ(host.Lines(), "");
}

TEST_F(PositionPageTest, LengthsTakeTheirUnitAndZIndexNone) {
    Click(1199);
    Choose(1201, "px");
    Type(1200, "0");
    Click(1130);
    Click(1187);
    Type(1188, "0");
    EXPECT_EQ(host.Lines(), "z-index: 10;\nheight: 1%;\nwidth: 10px;\n");
    EXPECT_EQ(Value(kWidth), "10px");
    EXPECT_EQ(Value(kHeight), "1%");
    EXPECT_EQ(Items(1190), QStringList({"absolute", "relative", "static"}));
    EXPECT_EQ(Items(1016), QStringList({"both", "left", "none", "right"}));
}

// ------------------------------------------------------- every layout page

struct PageCase {
    const char* name;
    std::function<CPropertyPage*(PageHost&)> make;
    int resourceId;
    const char* caption;
};

void PrintTo(const PageCase& c, std::ostream* out) { *out << c.name; }

class LayoutPagesTest : public ::testing::TestWithParam<PageCase> {};

// Screen readers tell controls apart by name: every control has one, unique
// on its page, repeated as its description; every switch has a tool tip.
TEST_P(LayoutPagesTest, ControlsAreNamedUniquelyAndSwitchesHaveTips) {
    FakePageHost host;
    std::unique_ptr<CPropertyPage> page(GetParam().make(host));
    EXPECT_EQ(page->ResourceId(), GetParam().resourceId);
    EXPECT_EQ(page->Caption(), GetParam().caption);
    QSet<QString> names;
    for (const auto& [id, widget] : page->Controls()) {
        const QString name = widget->accessibleName();
        SCOPED_TRACE(id);
        EXPECT_FALSE(name.isEmpty());
        EXPECT_EQ(widget->accessibleDescription(), name);
        EXPECT_FALSE(names.contains(name)) << name.toStdString();
        names.insert(name);
        if (page->Switch(id)) { EXPECT_FALSE(widget->toolTip().isEmpty()); }
    }
}

// Loading a rule fires no store, and storing puts back what was loaded.
TEST_P(LayoutPagesTest, LoadThenStoreKeepsTheRule) {
    FakePageHost host;
    std::unique_ptr<CPropertyPage> page(GetParam().make(host));
    const std::string text = "P {\r\n"
        "word-spacing: 2px;\r\nline-height: 120%;\r\nmargin-left: auto;\r\npadding-top: 3em;\r\n"
        "border-top: thick dotted #00FF00;\r\nborder-left: 4mm;\r\nz-index: 5;\r\nfloat: right;\r\n}\r\n";
    ASSERT_TRUE(host.document.ReadStyleSheetText(text, "x.css"));
    // Reading replaces the rules: the one read is taken after it.
    host.SelectListedRule(host.document.FindRule("P"));
    const StyleRule& rule = *host.document.SelectedRule();
    const StyleRule before = rule;
    host.loading = true;
    page->LoadFromRule();
    page->RefreshEnabling();
    host.loading = false;
    page->StoreToRule();
    EXPECT_EQ(host.document.StyleSheetText(), text);
    const PageState& a = before.pageState();
    const PageState& b = rule.pageState();
    EXPECT_EQ(a.wordSpacingValue + a.wordSpacingUnit, b.wordSpacingValue + b.wordSpacingUnit);
    EXPECT_EQ(a.lineHeightKind, b.lineHeightKind);
    EXPECT_EQ(a.lineHeightValue + a.lineHeightUnit, b.lineHeightValue + b.lineHeightUnit);
    EXPECT_EQ(a.marginLeftKind, b.marginLeftKind);
    EXPECT_EQ(a.paddingTopValue + a.paddingTopUnit, b.paddingTopValue + b.paddingTopUnit);
    EXPECT_EQ(a.borderTopWidthKeyword + a.borderTopStyle, b.borderTopWidthKeyword + b.borderTopStyle);
    EXPECT_EQ(a.borderTopColor, b.borderTopColor);
    EXPECT_EQ(a.borderLeftWidthValue + a.borderLeftWidthUnit, b.borderLeftWidthValue + b.borderLeftWidthUnit);
    EXPECT_EQ(a.zIndex, b.zIndex);
    EXPECT_EQ(a.cssFloat, b.cssFloat);
}

INSTANTIATE_TEST_SUITE_P(
    Pages, LayoutPagesTest,
    ::testing::Values(
        PageCase{"Text", [](PageHost& h) -> CPropertyPage* { return new CWordPage(h); }, 139, "Word Spacing"},
        PageCase{"Margins", [](PageHost& h) -> CPropertyPage* { return new CMarginPage(h); }, 159, "Margins"},
        PageCase{"Padding", [](PageHost& h) -> CPropertyPage* { return new CPaddingPage(h); }, 161, "Padding"},
        PageCase{"Border", [](PageHost& h) -> CPropertyPage* { return new CBorderPage(h); }, 171, "Border"},
        PageCase{"Positioning", [](PageHost& h) -> CPropertyPage* { return new CPositionPage(h); }, 174,
                 "Positioning"}),
    [](const ::testing::TestParamInfo<PageCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace larkspur
