#include <gtest/gtest.h>

#include "model/style_rule.h"
#include "model/vocabulary.h"

namespace larkspur {
namespace {

TEST(StyleRule, NewRuleHasEveryEntryEmptyAndNamedInIndexOrder) {
    StyleRule rule("H1");
    ASSERT_EQ(rule.properties.size(), 41u);
    EXPECT_EQ(rule.properties[12].name, "text-decoration");
    EXPECT_EQ(rule.properties[13].name, "letter-spacing");
    EXPECT_EQ(rule.properties[0].name, "font-family");
    EXPECT_EQ(rule.properties[40].name, "float");
    for (int i = 0; i < kPropertyCount; ++i) {
        SCOPED_TRACE(i);
        const PropertyEntry& e = rule.properties[i];
        EXPECT_EQ(e.name, PropertyName(i));
        EXPECT_TRUE(e.value.empty() && e.alternate.empty() && e.generic.empty());
        EXPECT_EQ(e.valueSet + e.alternateSet + e.genericSet + e.listed + e.changed + e.line, 0);
    }
    EXPECT_EQ(rule.selector, "H1");
    EXPECT_EQ(rule.listed, 0);
}

TEST(StyleRule, DefaultsAfterReset) {
    StyleRule rule("P");
    rule.pageState().fontSizeUnit = "px";
    rule.pageState().borderLeftWidthUnit = "em";
    rule.pageState().color = 0x123456;
    rule.pageState().colorOn = 1;
    rule.pageState().fontSizeKind = 2;
    rule.properties[kColor].value = "red";
    rule.properties[kColor].line = 4;
    rule.listed = 1;
    rule.ResetToDefaults();

    for (const std::string* unit :
         {&rule.pageState().fontSizeUnit, &rule.pageState().wordSpacingUnit, &rule.pageState().letterSpacingUnit, &rule.pageState().textIndentUnit,
          &rule.pageState().lineHeightUnit, &rule.pageState().marginTopUnit, &rule.pageState().marginBottomUnit, &rule.pageState().marginLeftUnit,
          &rule.pageState().marginRightUnit, &rule.pageState().paddingTopUnit, &rule.pageState().paddingBottomUnit, &rule.pageState().paddingLeftUnit,
          &rule.pageState().paddingRightUnit, &rule.pageState().backgroundPositionUnit1, &rule.pageState().backgroundPositionUnit2,
          &rule.pageState().leftUnit, &rule.pageState().topUnit, &rule.pageState().widthUnit, &rule.pageState().heightUnit, &rule.pageState().borderTopWidthUnit,
          &rule.pageState().borderBottomWidthUnit, &rule.pageState().borderRightWidthUnit})
        EXPECT_EQ(*unit, "%");
    EXPECT_EQ(rule.pageState().borderLeftWidthUnit, "");
    EXPECT_EQ(rule.pageState().color, 0x000000u);
    EXPECT_EQ(rule.pageState().backgroundColor, 0xFFFFFFu);
    for (ColourValue c : {rule.pageState().borderTopColor, rule.pageState().borderBottomColor, rule.pageState().borderLeftColor, rule.pageState().borderRightColor})
        EXPECT_EQ(c, 0x0000FFu);
    EXPECT_EQ(rule.pageState().colorOn, 0);
    EXPECT_EQ(rule.pageState().fontSizeKind, 0);
    EXPECT_EQ(rule.listed, 0);
    EXPECT_EQ(rule.properties[kColor].value, "");
    EXPECT_EQ(rule.properties[kColor].line, 4) << "line is kept by ResetEntry";
    EXPECT_EQ(rule.properties[kColor].name, "color");
}

TEST(StyleRule, CopyAndAssignCarryTheRule) {
    StyleRule source(".note");
    source.listed = 1;
    source.pageState().fontStyle = "italic";
    source.properties[kFontStyle].value = "italic";

    StyleRule copy(source);
    EXPECT_EQ(copy.selector, ".note");
    EXPECT_EQ(copy.listed, 1);
    EXPECT_EQ(copy.pageState().fontStyle, "italic");
    EXPECT_EQ(copy.properties[kFontStyle].value, "italic");

    StyleRule target("H2");
    target = source;
    EXPECT_EQ(target.selector, ".note");
    EXPECT_EQ(target.listed, 1);
}

TEST(StyleRule, CopyValuesIntoUnlistedRuleUnlistsEntriesButKeepsChanged) {
    StyleRule source("A");
    source.listed = 1;
    source.properties[kColor].value = "#FF0000";
    source.properties[kColor].valueSet = 1;
    source.properties[kColor].changed = 1;
    source.properties[kColor].listed = 1;
    source.pageState().colorOn = 1;

    StyleRule target("B");
    target.CopyValuesFrom(source);
    EXPECT_EQ(target.selector, "B");
    EXPECT_EQ(target.listed, 0);
    EXPECT_EQ(target.pageState().colorOn, 1);
    EXPECT_EQ(target.properties[kColor].value, "#FF0000");
    EXPECT_EQ(target.properties[kColor].changed, 1);
    EXPECT_EQ(target.properties[kColor].listed, 0);
}

TEST(PropertyEntry, DeclarationJoinsTheSetParts) {
    PropertyEntry e("font-family");
    e.value = "Arial";
    e.alternate = "Helvetica";
    e.generic = "sans-serif";
    e.valueSet = e.alternateSet = e.genericSet = 1;
    EXPECT_EQ(e.ComposeDeclaration(), "font-family: Arial, Helvetica, sans-serif");
    e.valueSet = e.alternateSet = 0;
    EXPECT_EQ(e.ComposeDeclaration(), "font-family: sans-serif");
    e.valueSet = 1;
    e.genericSet = 0;
    EXPECT_EQ(e.ComposeDeclaration(), "font-family: Arial");
    e.valueSet = 0;
    EXPECT_EQ(e.ComposeDeclaration(), "font-family:");
}

}  // namespace
}  // namespace larkspur
