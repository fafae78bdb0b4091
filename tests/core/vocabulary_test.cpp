#include <gtest/gtest.h>

#include <set>

#include "model/vocabulary.h"

namespace larkspur {
namespace {

struct SplitCase {
    const char* text;
    const char* number;
    const char* unit;  // nullptr: no unit recognised, out unit untouched
};

class SplitLengthTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitLengthTest, SplitsNumberAndUnit) {
    const SplitCase& c = GetParam();
    std::string unit = "unchanged", number = "unchanged";
    bool ok = SplitLength(c.text, unit, number);
    EXPECT_EQ(number, c.number);
    if (c.unit) {
        EXPECT_TRUE(ok);
        EXPECT_EQ(unit, c.unit);
    } else {
        EXPECT_FALSE(ok);
        EXPECT_EQ(unit, "unchanged");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lengths, SplitLengthTest,
    ::testing::Values(SplitCase{"2px", "2", "px"}, SplitCase{"1.5em", "1.5", "em"},
                      SplitCase{"50%", "50", "%"}, SplitCase{"thin", "", nullptr},
                      SplitCase{"12", "12", nullptr}, SplitCase{"2PX", "2", nullptr},
                      SplitCase{"", "", nullptr}, SplitCase{"-3mm", "-3", "mm"},
                      SplitCase{"3pxx", "3", nullptr}, SplitCase{"%", "", "%"}),
    [](const ::testing::TestParamInfo<SplitCase>& info) { return "Case" + std::to_string(info.index); });

TEST(Vocabulary, TablesHoldTheirFullLists) {
    EXPECT_EQ(kTagNames.size(), 56u);
    EXPECT_EQ(std::set<std::string_view>(kTagNames.begin(), kTagNames.end()).size(), 56u);
    EXPECT_EQ(kTagNames[3], "A");
    EXPECT_EQ(kTagNames[55], "VAR");
    EXPECT_EQ(kUnits.front(), "em");
    EXPECT_EQ(kUnits.back(), "%");
    std::set<std::string_view> names;
    for (int i = 0; i < kPropertyCount; ++i) names.insert(PropertyName(i));
    EXPECT_EQ(names.size(), 41u);
}

TEST(Vocabulary, WeightWordsByHundreds) {
    EXPECT_EQ(FontWeightNameForNumber(100), "Very Light");
    EXPECT_EQ(FontWeightNameForNumber(300), "Pale");
    EXPECT_EQ(FontWeightNameForNumber(350), "Pale");
    EXPECT_EQ(FontWeightNameForNumber(700), "Very Heavy");
    EXPECT_EQ(FontWeightNameForNumber(800), "Black");
    EXPECT_EQ(FontWeightNameForNumber(950), "Black");
    EXPECT_EQ(FontWeightNameForNumber(50), "Very Light");
    EXPECT_EQ(FontWeightNameForNumber(-400), "Very Light");
}

TEST(Vocabulary, GenericFamilies) {
    for (auto name : kGenericFamilies) EXPECT_TRUE(IsGenericFamily(name));
    EXPECT_FALSE(IsGenericFamily("Serif"));
    EXPECT_FALSE(IsGenericFamily("Arial"));
}

}  // namespace
}  // namespace larkspur
