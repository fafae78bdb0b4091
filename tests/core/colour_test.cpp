#include <gtest/gtest.h>

#include <vector>

#include "model/colour.h"
#include "model/colour_case.h"
#include "model/vocabulary.h"

namespace larkspur {
namespace {

struct ColourCase {
    const char* text;
    ColourValue value;
    bool isColour;
};

// Colour values have red in the low byte: 0x0000FF is red, 0xFF0000 blue.
const ColourCase kColourCases[] = {
    // Six-digit form, either case of digits.
    {"#FF0000", 0x0000FF, true},
    {"#0000ff", 0xFF0000, true},
    {"#12aB9c", 0x9CAB12, true},
    // Any other length after "#" reads three single digits, each doubled.
    {"#F00", 0x0000FF, true},
    {"#123", 0x332211, true},
    {"#1234", 0x332211, true},
    {"#12345678", 0x332211, true},
    // Malformed "#" texts: missing digits give 0, reading stops at non-digits.
    {"#", 0, true},
    {"#1", 0x000011, true},
    {"#12", 0x002211, true},
    {"#GG0000", 0, true},
    {"#F0G", 0x0000FF, true},
    {"#FFZZ00", 0x0000FF, true},
    // Names: exact and case-sensitive.
    {"red", 0x0000FF, true},
    {"navy", 0x800000, true},
    {"yellow", 0x00FFFF, true},
    {"Red", 0, false},
    {"RED", 0, false},
    {"red ", 0, false},
    // rgb(...) in any case; blanks before numbers are skipped.
    {"rgb(255, 0, 0)", 0x0000FF, true},
    {"RGB(0,0,255)", 0xFF0000, true},
    {"Rgb( 1 , 2 , 3 )", 0x030201, true},
    {"rgb(0x10,010,16)", 0x100810, true},  // hex, octal, decimal
    {"rgb(256,-1,1000)", 0xE8FF00, true},  // low 8 bits of each part
    {"rgb(1,2,3,4)", 0x030201, true},  // blue stops at the comma
    // Malformed rgb texts read what is there and 0 for the rest.
    {"rgb(", 0, true},
    {"RGB(1,2", 0x000201, true},
    {"rgb(1)", 0x000001, true},
    {"rgb()", 0, true},
    {"rgb(,,)", 0, true},
    {"rgb(a,b,c)", 0, true},
    {"rgb(99999999999999999999,0,0)", 0x0000FF, true},
    // Anything else is no colour and reads as black.
    {"", 0, false},
    {"thin", 0, false},
    {"solid", 0, false},
    {"2px", 0, false},
    {"transparent", 0, false},
};

class ColourTextTest : public ::testing::TestWithParam<ColourCase> {};

TEST_P(ColourTextTest, ReadsAndClassifies) {
    const ColourCase& c = GetParam();
    EXPECT_EQ(ColourFromText(c.text), c.value) << std::hex << "text \"" << c.text << "\"";
    EXPECT_EQ(IsColourText(c.text), c.isColour) << "text \"" << c.text << "\"";
}

INSTANTIATE_TEST_SUITE_P(Forms, ColourTextTest, ::testing::ValuesIn(kColourCases));

TEST(ColourTest, WrittenFormIsUpperCaseHexInRedGreenBlueOrder) {
    EXPECT_EQ(ColourText(0x0000FF), "#FF0000");
    EXPECT_EQ(ColourText(0x9CAB12), "#12AB9C");
    EXPECT_EQ(ColourText(0), "#000000");
    EXPECT_EQ(ColourText(0xFF123456), "#563412");  // top byte ignored
}

TEST(ColourTest, WrittenFormReadsBackForEveryComponentValue) {
    for (unsigned v = 0; v < 256; ++v) {
        ColourValue c = MakeColour(v, 255 - v, v ^ 0x5A);
        ASSERT_EQ(ColourFromText(ColourText(c)), c) << ColourText(c);
    }
}

TEST(ColourTest, ReadsOnlyInsideTheTextItIsGiven) {
    // Views cut out of a longer buffer must not be read past their end.
    const char buffer[] = "#12345678rgb(1,2,3)";
    EXPECT_EQ(ColourFromText(std::string_view(buffer, 2)), 0x000011u);
    EXPECT_EQ(ColourFromText(std::string_view(buffer + 9, 7)), 0x000201u);  // "rgb(1,2"
}


// The case of a sheet's hex letters: the more frequent wins, upper on a tie
// or without letters.
struct HexCaseCase {
    std::vector<const char*> values;
    HexCase expected;
};

TEST(HexCaseOfSheet, TheMoreFrequentLetterCaseWins) {
    const HexCaseCase cases[] = {
        {{}, HexCase::Upper},
        {{"#fff"}, HexCase::Lower},
        {{"#FFF"}, HexCase::Upper},
        {{"1px solid #abc", "red"}, HexCase::Lower},  // inside a shorthand
        {{"#fff", "#ABCDEF"}, HexCase::Upper},
        {{"#123456", "#00a"}, HexCase::Lower},
        {{"#123456", "beige"}, HexCase::Upper},  // no hex letters
        {{"#aB"}, HexCase::Upper},               // a tie
    };
    for (const HexCaseCase& c : cases) {
        HexCaseTally tally;
        std::string trace;
        for (const char* value : c.values) {
            tally.Add(value);
            trace += std::string(value) + " ";
        }
        EXPECT_EQ(tally.Case(), c.expected) << trace;
    }
}

TEST(HexCaseOfSheet, OnlyListedEntriesCountAndTextFollowsTheCase) {
    RuleList rules(2);
    rules[0].properties[kColor].value = "#abcdef";
    rules[0].properties[kColor].listed = 1;
    rules[1].properties[kColor].value = "#ABCDEF";  // seeded, never written
    EXPECT_EQ(HexCaseOf(rules), HexCase::Lower);
    EXPECT_EQ(ColourText(MakeColour(0xAB, 0x0C, 0xFF), HexCase::Lower), "#ab0cff");
    EXPECT_EQ(ColourText(MakeColour(0xAB, 0x0C, 0xFF), HexCase::Upper), "#AB0CFF");
}

}  // namespace
}  // namespace larkspur
