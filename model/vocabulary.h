#pragma once
#include <array>
#include <span>
#include <string>
#include <string_view>

#include "model/colour.h"

namespace larkspur {

using Words = std::span<const std::string_view>;

constexpr int kPropertyCount = 41;

// Entry indices of the 41 properties. Text-decoration comes before
// letter-spacing here, although the name table lists letter-spacing first.
enum PropertyIndex : int {
    kFontFamily = 0, kFontStyle, kFontVariant, kFontSize, kFontWeight, kColor,
    kBackgroundRepeat, kBackgroundAttachment, kBackgroundColor, kBackgroundImage,
    kBackgroundPosition, kWordSpacing, kTextDecoration, kLetterSpacing, kVerticalAlign,
    kTextTransform, kTextAlign, kTextIndent, kLineHeight, kMarginTop, kMarginBottom,
    kMarginLeft, kMarginRight, kPaddingTop, kPaddingBottom, kPaddingLeft, kPaddingRight,
    kBorderTop, kBorderBottom, kBorderLeft, kBorderRight, kVisibility, kZIndex, kPosition,
    kOverflow, kLeft, kTop, kHeight, kWidth, kClear, kFloat
};
static_assert(kFloat == kPropertyCount - 1);

// Property names in the order the rule constructors create them.
inline constexpr std::array<std::string_view, kPropertyCount> kPropertyNameTable = {
    "font-family", "font-style", "font-variant", "font-size", "font-weight", "color",
    "background-repeat", "background-attachment", "background-color", "background-image",
    "background-position", "word-spacing", "letter-spacing", "text-decoration",
    "vertical-align", "text-transform", "text-align", "text-indent", "line-height",
    "margin-top", "margin-bottom", "margin-left", "margin-right", "padding-top",
    "padding-bottom", "padding-left", "padding-right", "border-top", "border-bottom",
    "border-left", "border-right", "visibility", "z-index", "position", "overflow", "left",
    "top", "height", "width", "clear", "float"};

// Entry index of each position of the name table.
constexpr int EntryIndexOfNamePosition(int position) {
    return position == 12 ? kLetterSpacing : position == 13 ? kTextDecoration : position;
}

// Property name by entry index.
constexpr std::string_view PropertyName(int index) {
    return kPropertyNameTable[index == kTextDecoration ? 13 : index == kLetterSpacing ? 12 : index];
}

inline constexpr std::array<std::string_view, 8> kUnits = {"em", "in", "cm", "mm",
                                                           "pt", "px", "ex", "%"};

inline constexpr std::array<std::string_view, 16> kColourNames = {
    "aqua", "black", "blue",   "fuchsia", "gray",   "green", "lime",  "maroon",
    "navy", "olive", "purple", "red",     "silver", "teal",  "white", "yellow"};
inline constexpr std::array<ColourValue, 16> kColourValues = {
    0xFFFF00, 0x000000, 0xFF0000, 0xFF00FF, 0x808080, 0x008000, 0x00FF00, 0x000080,
    0x800000, 0x008080, 0x800080, 0x0000FF, 0xC0C0C0, 0x808000, 0xFFFFFF, 0x00FFFF};
static_assert(kColourNames.size() == kColourValues.size());

// The rules every new sheet starts with, in rule-list order (not alphabetical:
// a one-letter tag follows the longer tags with the same first letter).
inline constexpr std::array<std::string_view, 56> kTagNames = {
    "ADDRESS", "APPLET", "AREA",  "A",      "BASE",     "BASEFONT", "BIG",    "BLOCKQUOTE",
    "BODY",    "BR",     "B",     "CAPTION", "CENTER",  "CITE",     "CODE",   "DD",
    "DFN",     "DIR",    "DIV",   "DL",     "DT",       "EM",       "FONT",   "FORM",
    "H1",      "H2",     "H3",    "H4",     "H5",       "H6",       "HR",     "IMG",
    "INPUT",   "I",      "LI",    "MENU",   "OL",       "PRE",      "P",      "SAMP",
    "SELECT",  "SMALL",  "STRIKE", "STRONG", "SUB",     "SUP",      "TABLE",  "TD",
    "TEXTAREA", "TH",    "TITLE", "TR",     "TT",       "UL",       "U",      "VAR"};

// Keyword lists of the combo boxes, in the order they are filled.
inline constexpr std::array<std::string_view, 3> kFontStyles = {"normal", "italic", "oblique"};
inline constexpr std::array<std::string_view, 5> kGenericFamilies = {
    "serif", "sans-serif", "cursive", "fantasy", "monospace"};
// The order the reader tests them in.
inline constexpr std::array<std::string_view, 5> kGenericFamiliesReadOrder = {
    "serif", "sans-serif", "cursive", "monospace", "fantasy"};
inline constexpr std::array<std::string_view, 2> kFontVariants = {"normal", "small-caps"};
inline constexpr std::array<std::string_view, 10> kFontWeightNames = {
    "Very Light", "Light", "Pale", "Normal", "Bold", "Heavy", "Very Heavy", "Black",
    "Bolder", "Lighter"};
inline constexpr std::array<std::string_view, 10> kFontWeightValues = {
    "100", "200", "300", "normal", "bold", "600", "700", "800", "bolder", "lighter"};
static_assert(kFontWeightNames.size() == kFontWeightValues.size());
inline constexpr std::array<std::string_view, 7> kAbsoluteSizes = {
    "xx-small", "x-small", "small", "medium", "large", "x-large", "xx-large"};
inline constexpr std::array<std::string_view, 2> kRelativeSizes = {"smaller", "larger"};
inline constexpr std::array<std::string_view, 4> kBackgroundRepeats = {"repeat", "repeat-x",
                                                                       "repeat-y", "no-repeat"};
inline constexpr std::array<std::string_view, 2> kBackgroundAttachments = {"scroll", "fixed"};
inline constexpr std::array<std::string_view, 3> kVerticalPositions = {"top", "center", "bottom"};
inline constexpr std::array<std::string_view, 3> kHorizontalPositions = {"left", "center",
                                                                         "right"};
inline constexpr std::array<std::string_view, 5> kTextDecorations = {
    "none", "underline", "overline", "blink", "line-through"};
inline constexpr std::array<std::string_view, 6> kVerticalAligns = {
    "baseline", "middle", "sub", "super", "text-top", "text-bottom"};
inline constexpr std::array<std::string_view, 4> kTextTransforms = {"capitalize", "uppercase",
                                                                    "lowercase", "none"};
inline constexpr std::array<std::string_view, 4> kTextAligns = {"left", "right", "center",
                                                                "justify"};
inline constexpr std::array<std::string_view, 1> kLineHeightKeywords = {"none"};
inline constexpr std::array<std::string_view, 1> kAutoKeywords = {"auto"};
inline constexpr std::array<std::string_view, 9> kBorderStyles = {
    "none", "dotted", "dashed", "solid", "double", "groove", "ridge", "inset", "outset"};
inline constexpr std::array<std::string_view, 3> kBorderWidths = {"thin", "medium", "thick"};
inline constexpr std::array<std::string_view, 2> kVisibilities = {"visible", "hidden"};
inline constexpr std::array<std::string_view, 3> kPositions = {"relative", "absolute", "static"};
inline constexpr std::array<std::string_view, 4> kOverflows = {"visible", "hidden", "scroll",
                                                               "auto"};
inline constexpr std::array<std::string_view, 3> kFloats = {"left", "right", "none"};
inline constexpr std::array<std::string_view, 4> kClears = {"none", "left", "right", "both"};

// Weight word for a numeric weight as the reader shows it: n / 100 counted
// from 1, "Black" from 800 up. Below 100 there is no word; "Very Light" serves.
std::string_view FontWeightNameForNumber(long weight);

bool IsGenericFamily(std::string_view name);

// Splits a length such as "2px" into number "2" and unit "px". The number is
// always stored; the unit only when the rest is exactly one of kUnits.
bool SplitLength(std::string_view text, std::string& unit, std::string& number);

}  // namespace larkspur
