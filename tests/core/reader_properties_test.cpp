#include <gtest/gtest.h>

#include <functional>

#include "css/property_readers.h"
#include "css/sheet_document.h"
#include "model/text_util.h"
#include "model/vocabulary.h"

namespace larkspur {
namespace {

// Reads "H1 { <declaration> }" into a fresh start state and returns rule H1.
const StyleRule& ReadOne(SheetDocument& doc, const std::string& declaration) {
    doc.CreateStartRules();
    EXPECT_TRUE(doc.ReadStyleSheetText("H1 { " + declaration + " }\r\n", "x.css"));
    return doc.Rules()[static_cast<size_t>(doc.FindRule("H1"))];
}

struct HandlerCase {
    const char* declaration;
    int entry;
    const char* listed;  // the listing line, "" when nothing is listed
    std::function<void(const StyleRule&)> check;
};

const HandlerCase kHandlerCases[] = {
    {"font-style: italic", kFontStyle, "font-style: italic;",
     [](const StyleRule& r) { EXPECT_EQ(r.pageState().fontStyleOn, 1); EXPECT_EQ(r.pageState().fontStyle, "italic"); }},
    {"font-variant: small-caps", kFontVariant, "font-variant: small-caps;",
     [](const StyleRule& r) { EXPECT_EQ(r.pageState().fontVariantOn, 1); EXPECT_EQ(r.pageState().fontVariant, "small-caps"); }},
    {"font-size: larger", kFontSize, "font-size: larger;",
     [](const StyleRule& r) {
         EXPECT_EQ(r.pageState().fontSizeOn, 1);
         EXPECT_EQ(r.pageState().fontSizeKind, 1);
         EXPECT_EQ(r.pageState().fontSizeRelative, "larger");
     }},
    {"font-size: x-large", kFontSize, "font-size: x-large;",
     [](const StyleRule& r) { EXPECT_EQ(r.pageState().fontSizeKind, 0); EXPECT_EQ(r.pageState().fontSizeAbsolute, "x-large"); }},
    {"font-size: 1.5em", kFontSize, "font-size: 1.5em;",
     [](const StyleRule& r) {
         EXPECT_EQ(r.pageState().fontSizeKind, 2);
         EXPECT_EQ(r.pageState().fontSizeValue, "1.5");
         EXPECT_EQ(r.pageState().fontSizeUnit, "em");
     }},
    {"font-size: 12furlongs", kFontSize, "font-size: 12furlongs;",  // unit not checked
     [](const StyleRule& r) { EXPECT_EQ(r.pageState().fontSizeValue, "12"); EXPECT_EQ(r.pageState().fontSizeUnit, "furlongs"); }},
    {"font-weight: 700", kFontWeight, "font-weight: 700;",
     [](const StyleRule& r) { EXPECT_EQ(r.pageState().fontWeightOn, 1); EXPECT_EQ(r.pageState().fontWeight, "Very Heavy"); }},
    {"font-weight: 350", kFontWeight, "font-weight: 350;",
     [](const StyleRule& r) { EXPECT_EQ(r.pageState().fontWeight, "Pale"); }},
    {"font-weight: 900", kFontWeight, "font-weight: 900;",
     [](const StyleRule& r) { EXPECT_EQ(r.pageState().fontWeight, "Black"); }},
    {"font-weight: 50", kFontWeight, "font-weight: 50;",
     [](const StyleRule& r) { EXPECT_EQ(r.pageState().fontWeight, "Very Light"); }},
    {"font-weight: -300", kFontWeight, "font-weight: -300;",
     [](const StyleRule& r) { EXPECT_EQ(r.pageState().fontWeight, "Very Light"); }},
    {"font-weight: 99999999999999999999999", kFontWeight, "font-weight: 99999999999999999999999;",
     [](const StyleRule& r) { EXPECT_EQ(r.pageState().fontWeight, "Black"); }},
    {"font-weight: bold", kFontWeight, "font-weight: bold;",
     [](const StyleRule& r) { EXPECT_EQ(r.pageState().fontWeight, "bold"); }},
    {"color: #00FF00", kColor, "color: #00FF00;",
     [](const StyleRule& r) { EXPECT_EQ(r.pageState().colorOn, 1); EXPECT_EQ(r.pageState().color, 0x00FF00u); }},
    {"background-color: navy", kBackgroundColor, "background-color: navy;",
     [](const StyleRule& r) {
         EXPECT_EQ(r.pageState().backgroundColorOn, 1);
         EXPECT_EQ(r.pageState().backgroundColor, 0x800000u);
     }},
    {"background-repeat: repeat-x", kBackgroundRepeat, "background-repeat: repeat-x;",
     [](const StyleRule& r) {
         EXPECT_EQ(r.pageState().backgroundRepeatOn, 1);
         EXPECT_EQ(r.pageState().backgroundRepeat, "repeat-x");
     }},
    {"background-attachment: fixed", kBackgroundAttachment, "background-attachment: fixed;",
     [](const StyleRule& r) {
         EXPECT_EQ(r.pageState().backgroundAttachmentOn, 1);
         EXPECT_EQ(r.pageState().backgroundAttachment, "fixed");
     }},
    {"background-image: url(img/a.gif)", kBackgroundImage, "background-image: url(img/a.gif);",
     [](const StyleRule& r) {
         EXPECT_EQ(r.pageState().backgroundImageOn, 1);
         EXPECT_EQ(r.pageState().backgroundImage, "img/a.gif");
     }},
    {"background-image: url(img/a.gif", kBackgroundImage, "background-image: url(img/a.gif;",
     [](const StyleRule& r) { EXPECT_EQ(r.pageState().backgroundImage, "img/a.gif"); }},
    {"background-image: none", kBackgroundImage, "background-image: none;",
     [](const StyleRule& r) { EXPECT_EQ(r.pageState().backgroundImage, "none"); }},
    {"background-position: top left", kBackgroundPosition, "background-position: top left;",
     [](const StyleRule& r) {
         EXPECT_EQ(r.pageState().backgroundPositionOn, 1);
         EXPECT_EQ(r.pageState().backgroundPositionKind, 0);
         EXPECT_EQ(r.pageState().backgroundPositionKeyword1, "top");
         EXPECT_EQ(r.pageState().backgroundPositionKeyword2, "left");
     }},
    {"background-position: 10px\t50%", kBackgroundPosition, "background-position: 10px\t50%;",
     [](const StyleRule& r) {
         EXPECT_EQ(r.pageState().backgroundPositionKind, 1);
         EXPECT_EQ(r.pageState().backgroundPositionValue1, "10");
         EXPECT_EQ(r.pageState().backgroundPositionUnit1, "px");
         EXPECT_EQ(r.pageState().backgroundPositionValue2, "50");
         EXPECT_EQ(r.pageState().backgroundPositionUnit2, "%");
     }},
    {"background-position: center", kBackgroundPosition, "background-position: center;",
     [](const StyleRule& r) {
         EXPECT_EQ(r.pageState().backgroundPositionKeyword1, "center");
         EXPECT_EQ(r.pageState().backgroundPositionKeyword2, "");
     }},
    {"word-spacing: 2pt", kWordSpacing, "word-spacing: 2pt;",
     [](const StyleRule& r) {
         EXPECT_EQ(r.pageState().wordSpacingOn, 1);
         EXPECT_EQ(r.pageState().wordSpacingValue, "2");
         EXPECT_EQ(r.pageState().wordSpacingUnit, "pt");
     }},
    {"letter-spacing: 0.1em", kLetterSpacing, "letter-spacing: 0.1em;",
     [](const StyleRule& r) {
         EXPECT_EQ(r.pageState().letterSpacingOn, 1);
         EXPECT_EQ(r.pageState().letterSpacingValue, "0.1");
         EXPECT_EQ(r.pageState().letterSpacingUnit, "em");
     }},
    {"text-decoration: underline", kTextDecoration, "text-decoration: underline;",
     [](const StyleRule& r) {
         EXPECT_EQ(r.pageState().textDecorationOn, 1);
         EXPECT_EQ(r.pageState().textDecoration, "underline");
     }},
    {"vertical-align: text-top", kVerticalAlign, "vertical-align: text-top;",
     [](const StyleRule& r) {
         EXPECT_EQ(r.pageState().verticalAlignOn, 1);
         EXPECT_EQ(r.pageState().verticalAlignKind, 0);
         EXPECT_EQ(r.pageState().verticalAlignKeyword, "text-top");
     }},
    {"vertical-align: 50%", kVerticalAlign, "vertical-align: 50%;",
     [](const StyleRule& r) {
         EXPECT_EQ(r.pageState().verticalAlignKind, 1);
         EXPECT_EQ(r.pageState().verticalAlignPercent, "50");
     }},
    {"text-transform: uppercase", kTextTransform, "text-transform: uppercase;",
     [](const StyleRule& r) { EXPECT_EQ(r.pageState().textTransformOn, 1); EXPECT_EQ(r.pageState().textTransform, "uppercase"); }},
    {"text-align: justify", kTextAlign, "text-align: justify;",
     [](const StyleRule& r) { EXPECT_EQ(r.pageState().textAlignOn, 1); EXPECT_EQ(r.pageState().textAlign, "justify"); }},
    {"text-indent: 3mm", kTextIndent, "text-indent: 3mm;",
     [](const StyleRule& r) {
         EXPECT_EQ(r.pageState().textIndentOn, 1);
         EXPECT_EQ(r.pageState().textIndentValue, "3");
         EXPECT_EQ(r.pageState().textIndentUnit, "mm");
     }},
    {"line-height: none", kLineHeight, "line-height: none;",
     [](const StyleRule& r) {
         EXPECT_EQ(r.pageState().lineHeightOn, 1);
         EXPECT_EQ(r.pageState().lineHeightKind, 2);
         EXPECT_EQ(r.pageState().lineHeightKeyword, "none");
     }},
    {"line-height: 1.2", kLineHeight, "line-height: 1.2;",
     [](const StyleRule& r) {
         EXPECT_EQ(r.pageState().lineHeightKind, 0);
         EXPECT_EQ(r.pageState().lineHeightNumber, "1.2");
     }},
    {"line-height: 120%", kLineHeight, "line-height: 120%;",
     [](const StyleRule& r) {
         EXPECT_EQ(r.pageState().lineHeightKind, 1);
         EXPECT_EQ(r.pageState().lineHeightValue, "120");
         EXPECT_EQ(r.pageState().lineHeightUnit, "%");
     }},
    {"margin-top: auto", kMarginTop, "margin-top: auto;",
     [](const StyleRule& r) { EXPECT_EQ(r.pageState().marginTopOn, 1); EXPECT_EQ(r.pageState().marginTopKind, 1); }},
    {"margin-bottom: 1in", kMarginBottom, "margin-bottom: 1in;",
     [](const StyleRule& r) {
         EXPECT_EQ(r.pageState().marginBottomOn, 1);
         EXPECT_EQ(r.pageState().marginBottomKind, 0);
         EXPECT_EQ(r.pageState().marginBottomValue, "1");
         EXPECT_EQ(r.pageState().marginBottomUnit, "in");
     }},
    {"margin-left: -2cm", kMarginLeft, "margin-left: -2cm;",
     [](const StyleRule& r) { EXPECT_EQ(r.pageState().marginLeftValue, "-2"); EXPECT_EQ(r.pageState().marginLeftUnit, "cm"); }},
    {"margin-right: auto", kMarginRight, "margin-right: auto;",
     [](const StyleRule& r) { EXPECT_EQ(r.pageState().marginRightOn, 1); EXPECT_EQ(r.pageState().marginRightKind, 1); }},
    {"padding-top: 4px", kPaddingTop, "padding-top: 4px;",
     [](const StyleRule& r) {
         EXPECT_EQ(r.pageState().paddingTopOn, 1);
         EXPECT_EQ(r.pageState().paddingTopValue, "4");
         EXPECT_EQ(r.pageState().paddingTopUnit, "px");
     }},
    {"padding-bottom: 0", kPaddingBottom, "padding-bottom: 0;",
     [](const StyleRule& r) { EXPECT_EQ(r.pageState().paddingBottomOn, 1); EXPECT_EQ(r.pageState().paddingBottomValue, "0"); EXPECT_EQ(r.pageState().paddingBottomUnit, ""); }},
    {"padding-left: 1.5cm", kPaddingLeft, "padding-left: 1.5cm;",
     [](const StyleRule& r) { EXPECT_EQ(r.pageState().paddingLeftValue, "1.5"); EXPECT_EQ(r.pageState().paddingLeftUnit, "cm"); }},
    {"padding-right: 5ex", kPaddingRight, "padding-right: 5ex;",
     [](const StyleRule& r) { EXPECT_EQ(r.pageState().paddingRightValue, "5"); EXPECT_EQ(r.pageState().paddingRightUnit, "ex"); }},
    {"border-top: 2px solid red", kBorderTop, "border-top: 2px solid red;",
     [](const StyleRule& r) {
         EXPECT_EQ(r.pageState().borderTopWidthOn, 1);
         EXPECT_EQ(r.pageState().borderTopWidthKind, 0);
         EXPECT_EQ(r.pageState().borderTopWidthValue, "2");
         EXPECT_EQ(r.pageState().borderTopWidthUnit, "px");
         EXPECT_EQ(r.pageState().borderTopStyleOn, 1);
         EXPECT_EQ(r.pageState().borderTopStyle, "solid");
         EXPECT_EQ(r.pageState().borderTopColorOn, 1);
         EXPECT_EQ(r.pageState().borderTopColor, 0x0000FFu);
     }},
    {"border-bottom: rgb(0, 0, 255)\tthick", kBorderBottom, "border-bottom: rgb(0, 0, 255)\tthick;",
     // the blanks inside rgb(...) split it: "rgb(0," is the colour, "0," the style,
     // and "255) thick" the style again, which overrides it
     [](const StyleRule& r) {
         EXPECT_EQ(r.pageState().borderBottomColorOn, 1);
         EXPECT_EQ(r.pageState().borderBottomColor, 0u);
         EXPECT_EQ(r.pageState().borderBottomStyle, "255)\tthick");
         EXPECT_EQ(r.pageState().borderBottomWidthOn, 0);
     }},
    {"border-left: thin   dotted  #123", kBorderLeft, "border-left: thin   dotted  #123;",
     [](const StyleRule& r) {
         EXPECT_EQ(r.pageState().borderLeftWidthKind, 1);
         EXPECT_EQ(r.pageState().borderLeftWidthKeyword, "thin");
         EXPECT_EQ(r.pageState().borderLeftStyle, "dotted");
         EXPECT_EQ(r.pageState().borderLeftColor, 0x332211u);
     }},
    {"border-right: 1px 3PX double", kBorderRight, "border-right: 1px 3PX double;",
     // "3PX" is no length (units are case-sensitive), so it is a style until "double" overrides it
     [](const StyleRule& r) {
         EXPECT_EQ(r.pageState().borderRightWidthValue, "1");
         EXPECT_EQ(r.pageState().borderRightWidthUnit, "px");
         EXPECT_EQ(r.pageState().borderRightStyle, "double");
     }},
    {"visibility: hidden", kVisibility, "visibility: hidden;",
     [](const StyleRule& r) { EXPECT_EQ(r.pageState().visibilityOn, 1); EXPECT_EQ(r.pageState().visibility, "hidden"); }},
    {"z-index: 3", kZIndex, "z-index: 3;",
     [](const StyleRule& r) { EXPECT_EQ(r.pageState().zIndexOn, 1); EXPECT_EQ(r.pageState().zIndex, "3"); }},
    {"position: absolute", kPosition, "position: absolute;",
     [](const StyleRule& r) { EXPECT_EQ(r.pageState().positionOn, 1); EXPECT_EQ(r.pageState().position, "absolute"); }},
    {"overflow: scroll", kOverflow, "overflow: scroll;",
     [](const StyleRule& r) { EXPECT_EQ(r.pageState().overflowOn, 1); EXPECT_EQ(r.pageState().overflow, "scroll"); }},
    {"left: 10px", kLeft, "left: 10px;",
     [](const StyleRule& r) { EXPECT_EQ(r.pageState().leftOn, 1); EXPECT_EQ(r.pageState().leftValue, "10"); EXPECT_EQ(r.pageState().leftUnit, "px"); }},
    {"top: 5%", kTop, "top: 5%;",
     [](const StyleRule& r) { EXPECT_EQ(r.pageState().topOn, 1); EXPECT_EQ(r.pageState().topValue, "5"); EXPECT_EQ(r.pageState().topUnit, "%"); }},
    {"height: 2in", kHeight, "height: 2in;",
     [](const StyleRule& r) { EXPECT_EQ(r.pageState().heightOn, 1); EXPECT_EQ(r.pageState().heightValue, "2"); EXPECT_EQ(r.pageState().heightUnit, "in"); }},
    {"width: 300pt", kWidth, "width: 300pt;",
     [](const StyleRule& r) { EXPECT_EQ(r.pageState().widthOn, 1); EXPECT_EQ(r.pageState().widthValue, "300"); EXPECT_EQ(r.pageState().widthUnit, "pt"); }},
    {"clear: both", kClear, "clear: both;",
     [](const StyleRule& r) { EXPECT_EQ(r.pageState().clearOn, 1); EXPECT_EQ(r.pageState().clear, "both"); }},
    {"float: right", kFloat, "float: right;",
     [](const StyleRule& r) { EXPECT_EQ(r.pageState().floatOn, 1); EXPECT_EQ(r.pageState().cssFloat, "right"); }},
    // A declaration without a value is none: the pages show nothing.
    {"vertical-align:", kVerticalAlign, "",
     [](const StyleRule& r) { EXPECT_EQ(r.pageState().verticalAlignPercent, ""); }},
    {"line-height: ", kLineHeight, "",
     [](const StyleRule& r) { EXPECT_EQ(r.pageState().lineHeightKind, 0); }},
    {"border-top:", kBorderTop, "",
     [](const StyleRule& r) {
         EXPECT_EQ(r.pageState().borderTopStyleOn + r.pageState().borderTopColorOn + r.pageState().borderTopWidthOn, 0);
     }},
};

class PropertyHandlerTest : public ::testing::TestWithParam<HandlerCase> {};

TEST_P(PropertyHandlerTest, FillsEntryPageStateAndListing) {
    const HandlerCase& c = GetParam();
    SheetDocument doc;
    const StyleRule& rule = ReadOne(doc, c.declaration);
    const PropertyEntry& entry = rule.properties[static_cast<size_t>(c.entry)];
    EXPECT_EQ(entry.valueSet, *c.listed ? 1 : 0);
    EXPECT_EQ(entry.changed, *c.listed ? 1 : 0);
    // The declaration the pages would write for it.
    EXPECT_EQ(entry.listed ? entry.ComposeDeclaration() + ";" : std::string(), c.listed);
    c.check(rule);
}

INSTANTIATE_TEST_SUITE_P(EveryProperty, PropertyHandlerTest, ::testing::ValuesIn(kHandlerCases));

TEST(PropertyHandlerTest, CasesCoverEveryProperty) {
    std::vector<bool> seen(kPropertyCount);
    for (const HandlerCase& c : kHandlerCases) seen[static_cast<size_t>(c.entry)] = true;
    for (int i = 0; i < kPropertyCount; ++i)
        if (i != kFontFamily) { EXPECT_TRUE(seen[static_cast<size_t>(i)]) << PropertyName(i); }
}

TEST(PropertyNameTest, MatchesExactlyAndCaseSensitively) {
    for (int i = 0; i < kPropertyCount; ++i) EXPECT_EQ(PropertyIndexOfName(PropertyName(i)), i);
    EXPECT_EQ(PropertyIndexOfName("COLOR"), -1);
    EXPECT_EQ(PropertyIndexOfName("colour"), -1);
    EXPECT_EQ(PropertyIndexOfName(""), -1);
    EXPECT_EQ(PropertyIndexOfName("border"), -1);
    // Near misses of every name: a letter short or too many, a capital.
    for (int i = 0; i < kPropertyCount; ++i) {
        const std::string name(PropertyName(i));
        for (const std::string& miss : {name.substr(1), name.substr(0, name.size() - 1), name + "s", " " + name,
                                        AsciiUpperCopy(name.substr(0, 1)) + name.substr(1)})
            EXPECT_EQ(PropertyIndexOfName(miss), -1) << miss;
    }
}

struct FamilyCase {
    const char* value;
    const char* first;    // nullptr: not set
    const char* second;
    const char* generic;
    const char* written;
};

const FamilyCase kFamilyCases[] = {
    {"Arial", "Arial", nullptr, nullptr, "font-family: Arial;"},
    {"serif", nullptr, nullptr, "serif", "font-family: serif;"},
    {"Serif", "Serif", nullptr, nullptr, "font-family: Serif;"},  // generic names are case-sensitive
    {"Arial, Helvetica", "Arial", "Helvetica", nullptr, "font-family: Arial, Helvetica;"},
    {"Arial,\tmonospace", "Arial", nullptr, "monospace", "font-family: Arial, monospace;"},
    {"cursive, Comic", "Comic", nullptr, "cursive", "font-family: Comic, cursive;"},
    {"Arial, Helvetica, sans-serif", "Arial", "Helvetica", "sans-serif",
     "font-family: Arial, Helvetica, sans-serif;"},
    {"A,B,C,D", "A", "B", "C,D", "font-family: A, B, C,D;"},  // the rest is the generic part
    {"Times New Roman , fantasy", "Times New Roman", nullptr, "fantasy",
     "font-family: Times New Roman, fantasy;"},
};

class FontFamilyTest : public ::testing::TestWithParam<FamilyCase> {};

TEST_P(FontFamilyTest, SplitsIntoChoicesAndGeneric) {
    const FamilyCase& c = GetParam();
    SheetDocument doc;
    const StyleRule& r = ReadOne(doc, std::string("font-family: ") + c.value);
    const PropertyEntry& e = r.properties[kFontFamily];
    auto expectPart = [](const char* want, int set, const std::string& text, int on,
                         const std::string& field, const char* what) {
        SCOPED_TRACE(what);
        EXPECT_EQ(set, want ? 1 : 0);
        EXPECT_EQ(on, want ? 1 : 0);
        if (want) {
            EXPECT_EQ(text, want);
            EXPECT_EQ(field, want);
        }
    };
    expectPart(c.first, e.valueSet, e.value, r.pageState().fontFamily1On, r.pageState().fontFamily1, "first choice");
    expectPart(c.second, e.alternateSet, e.alternate, r.pageState().fontFamily2On, r.pageState().fontFamily2, "second choice");
    expectPart(c.generic, e.genericSet, e.generic, r.pageState().fontGenericOn, r.pageState().fontGeneric, "generic");
    EXPECT_EQ(e.ComposeDeclaration() + ";", c.written);
}

INSTANTIATE_TEST_SUITE_P(Parts, FontFamilyTest, ::testing::ValuesIn(kFamilyCases));

TEST(FontFamilyTest, LastDeclarationWithAValueIsTheOneShown) {
    SheetDocument doc;
    const StyleRule& r =
        ReadOne(doc, "font-family: Arial, Helvetica, serif; color: red; font-family: Courier");
    const PropertyEntry& e = r.properties[kFontFamily];
    EXPECT_EQ(e.alternateSet + e.genericSet + r.pageState().fontFamily2On + r.pageState().fontGenericOn, 0);
    EXPECT_EQ(r.pageState().fontFamily1, "Courier");
    // The text stays as it was.
    EXPECT_EQ(doc.StyleSheetText(), "H1 { font-family: Arial, Helvetica, serif; color: red; font-family: Courier }\r\n");

    // An empty second declaration is none, as in a browser: the first applies.
    const StyleRule& r2 = ReadOne(doc, "font-family: Arial, serif; font-family: ;");
    EXPECT_EQ(r2.pageState().fontFamily1, "Arial");
    EXPECT_EQ(r2.pageState().fontGeneric, "serif");
}

}  // namespace
}  // namespace larkspur
