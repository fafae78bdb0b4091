// A rule read from a sheet builds its page state only when asked. Whatever
// the declarations, the built page state must be the one the handlers give
// when they write into a page state held from the start.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "css/property_readers.h"
#include "model/style_rule.h"
#include "model/vocabulary.h"

namespace larkspur {
namespace {

// Values of every shape the handlers tell apart: lengths, keywords, colours,
// percentages, numbers, lists, several words, nothing.
const std::vector<std::string> kValues = {"2px",   "auto",       "50%",          "red",
                                          "1.5",   "12pt",       "larger",       "top left",
                                          "700",   "url(a.png)", "thin solid red", "serif, monospace",
                                          "Arial, Verdana, cursive", "",  "10px 20%"};

void Read(StyleRule& rule, int property, const std::vector<std::string>& values) {
    for (const std::string& v : values) {
        PropertyEntry& entry = rule.properties[static_cast<size_t>(property)];
        entry.valueSet = entry.changed = 1;
        ReadPropertyValue(rule, property, v);
    }
}

void ExpectSameRule(const StyleRule& built, const StyleRule& held) {
    EXPECT_TRUE(built.pageState() == held.pageState());
    for (int i = 0; i < kPropertyCount; ++i) {
        const PropertyEntry& a = built.properties[static_cast<size_t>(i)];
        const PropertyEntry& b = held.properties[static_cast<size_t>(i)];
        EXPECT_EQ(a.ComposeDeclaration(), b.ComposeDeclaration());
        EXPECT_EQ(a.value, b.value);
        EXPECT_EQ(a.changed, b.changed);
    }
}

class BuiltPageState : public testing::TestWithParam<int> {};

TEST_P(BuiltPageState, EqualsThePageStateWrittenAsRead) {
    const int property = GetParam();
    std::vector<std::vector<std::string>> sequences;
    for (const std::string& a : kValues) {
        sequences.push_back({a});
        for (const std::string& b : kValues) sequences.push_back({a, b});
    }
    sequences.push_back({"5px", "auto", "3em"});
    for (const auto& values : sequences) {
        SCOPED_TRACE(std::string(PropertyName(property)) + ": " + values.front() +
                     (values.size() > 1 ? " then " + values[1] : ""));
        StyleRule built(".a");
        Read(built, property, values);
        StyleRule held(".a");
        held.pageState();
        Read(held, property, values);
        EXPECT_EQ(built.HoldsPageState(), values.size() > 1) << "a single declaration waits to be asked";
        const StyleRule copy = built;  // copied before anything is built
        ExpectSameRule(built, held);
        ExpectSameRule(copy, held);
    }
}

INSTANTIATE_TEST_SUITE_P(EveryProperty, BuiltPageState, testing::Range(0, kPropertyCount));

// Declarations of several properties build independently; a reset lets the
// built state go, and a copy into another rule carries it.
TEST(BuiltPageState, SeveralPropertiesResetAndCopy) {
    StyleRule rule(".a");
    Read(rule, kColor, {"red"});
    Read(rule, kMarginTop, {"auto"});
    Read(rule, kBorderLeft, {"2px dotted blue"});
    Read(rule, kFontFamily, {"serif, Arial"});
    StyleRule target("P");
    target.CopyValuesFrom(rule);
    EXPECT_FALSE(target.HoldsPageState());

    const PageState& s = rule.pageState();
    EXPECT_EQ(s.colorOn, 1);
    EXPECT_EQ(s.color, 0x0000FFu);
    EXPECT_EQ(s.marginTopKind, 1);
    EXPECT_EQ(s.borderLeftWidthValue, "2");
    EXPECT_EQ(s.borderLeftWidthUnit, "px");
    EXPECT_EQ(s.borderLeftStyle, "dotted");
    EXPECT_EQ(s.fontGeneric, "serif");
    EXPECT_EQ(s.fontFamily1, "Arial");
    EXPECT_TRUE(target.pageState() == rule.pageState());

    rule.ResetToDefaults();
    EXPECT_FALSE(rule.HoldsPageState());
    EXPECT_TRUE(rule.pageState() == PageState{});
    EXPECT_EQ(rule.properties[kColor].value, "");
}

}  // namespace
}  // namespace larkspur
