#include "css/property_readers.h"

#include <array>
#include <climits>

#include "css/css_scan.h"
#include "css/rule_text.h"
#include "model/text_util.h"
#include "model/vocabulary.h"

namespace larkspur {
namespace {

using Handler = void (*)(PageState&, PropertyEntry&, std::string_view);
using Flag = int PageState::*;
using Text = std::string PageState::*;
using Colour = ColourValue PageState::*;

bool StartsWithLetter(std::string_view v) { return !v.empty() && IsAsciiLetter(v.front()); }

// Leading integer as atol reads it, saturating instead of overflowing.
long LeadingInteger(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && IsAsciiSpace(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long v = 0;
    for (; i < text.size() && IsAsciiDigit(text[i]); ++i)
        v = v > (LONG_MAX - 9) / 10 ? LONG_MAX : v * 10 + (text[i] - '0');
    return negative ? -v : v;
}

template <Flag On, Text Field>
void Keyword(PageState& r, PropertyEntry&, std::string_view v) {
    r.*On = 1;
    (r.*Field).assign(v);
}

template <Flag On, Colour Field>
void ColourOf(PageState& r, PropertyEntry&, std::string_view v) {
    r.*On = 1;
    r.*Field = ColourFromText(v);
}

template <Flag On, Text Number, Text Unit>
void Length(PageState& r, PropertyEntry&, std::string_view v) {
    r.*On = 1;
    SplitNumberAndUnit(v, r.*Number, r.*Unit);
}

template <Flag On, Flag Kind, Text Number, Text Unit>
void Margin(PageState& r, PropertyEntry&, std::string_view v) {
    r.*On = 1;
    if (StartsWithLetter(v)) {
        r.*Kind = 1;  // auto
    } else {
        r.*Kind = 0;
        SplitNumberAndUnit(v, r.*Number, r.*Unit);
    }
}

void FontFamily(PageState& r, PropertyEntry& e, std::string_view v) {
    // A second font-family in the same rule replaces the first whole.
    e.alternate.clear();
    e.generic.clear();
    e.valueSet = e.alternateSet = e.genericSet = 0;
    r.fontFamily1On = r.fontFamily2On = r.fontGenericOn = 0;
    r.fontFamily1.clear();
    r.fontFamily2.clear();
    r.fontGeneric.clear();

    auto first = [&](std::string_view part) {
        e.valueSet = 1;
        e.value.assign(part);
        r.fontFamily1On = 1;
        r.fontFamily1.assign(part);
    };
    auto second = [&](std::string_view part) {
        e.alternateSet = 1;
        e.alternate.assign(part);
        r.fontFamily2On = 1;
        r.fontFamily2.assign(part);
    };
    auto generic = [&](std::string_view part) {
        e.genericSet = 1;
        e.generic.assign(part);
        r.fontGenericOn = 1;
        r.fontGeneric.assign(part);
    };

    size_t c1 = v.find(',');
    if (c1 == std::string_view::npos) {
        if (IsGenericFamily(v))
            generic(v);  // value keeps the text but is not part of the declaration
        else
            first(v);
        return;
    }
    std::string_view p1 = TrimAsciiSpace(v.substr(0, c1));
    size_t c2 = v.find(',', c1 + 1);
    if (c2 == std::string_view::npos) {
        std::string_view p2 = TrimAsciiSpace(v.substr(c1 + 1));
        if (IsGenericFamily(p1)) {
            generic(p1);
            first(p2);
        } else if (IsGenericFamily(p2)) {
            first(p1);
            generic(p2);
        } else {
            first(p1);
            second(p2);
        }
        return;
    }
    first(p1);
    second(TrimAsciiSpace(v.substr(c1 + 1, c2 - c1 - 1)));
    generic(TrimAsciiSpace(v.substr(c2 + 1)));
}

void FontSize(PageState& r, PropertyEntry&, std::string_view v) {
    r.fontSizeOn = 1;
    if (StartsWithLetter(v)) {
        if (v == "smaller" || v == "larger") {
            r.fontSizeKind = 1;
            r.fontSizeRelative.assign(v);
        } else {
            r.fontSizeKind = 0;
            r.fontSizeAbsolute.assign(v);
        }
    } else {
        r.fontSizeKind = 2;
        SplitNumberAndUnit(v, r.fontSizeValue, r.fontSizeUnit);
    }
}

void FontWeight(PageState& r, PropertyEntry&, std::string_view v) {
    r.fontWeightOn = 1;
    if (StartsWithLetter(v))
        r.fontWeight.assign(v);
    else
        r.fontWeight.assign(FontWeightNameForNumber(LeadingInteger(v)));
}

void BackgroundImage(PageState& r, PropertyEntry&, std::string_view v) {
    r.backgroundImageOn = 1;
    size_t open = v.find("url(");
    if (open == std::string_view::npos) {
        r.backgroundImage.assign(v);
        return;
    }
    std::string_view rest = v.substr(open + 4);
    r.backgroundImage.assign(rest.substr(0, rest.find(')')));
}

void BackgroundPosition(PageState& r, PropertyEntry&, std::string_view v) {
    r.backgroundPositionOn = 1;
    size_t blank = 0;
    while (blank < v.size() && !IsAsciiSpace(v[blank])) ++blank;
    std::string_view first = v.substr(0, blank);
    bool hasSecond = blank < v.size();
    std::string_view second = hasSecond ? TrimAsciiSpace(v.substr(blank)) : std::string_view{};
    if (StartsWithLetter(v)) {
        r.backgroundPositionKind = 0;
        r.backgroundPositionKeyword1.assign(first);
        r.backgroundPositionKeyword2.assign(second);
    } else {
        r.backgroundPositionKind = 1;
        SplitNumberAndUnit(first, r.backgroundPositionValue1, r.backgroundPositionUnit1);
        if (hasSecond)
            SplitNumberAndUnit(second, r.backgroundPositionValue2, r.backgroundPositionUnit2);
    }
}

void VerticalAlign(PageState& r, PropertyEntry&, std::string_view v) {
    r.verticalAlignOn = 1;
    if (StartsWithLetter(v)) {
        r.verticalAlignKind = 0;
        r.verticalAlignKeyword.assign(v);
    } else {
        r.verticalAlignKind = 1;
        r.verticalAlignPercent.assign(v.substr(0, v.empty() ? 0 : v.size() - 1));
    }
}

void LineHeight(PageState& r, PropertyEntry&, std::string_view v) {
    r.lineHeightOn = 1;
    if (StartsWithLetter(v)) {
        r.lineHeightKind = 2;
        r.lineHeightKeyword.assign(v);
    } else if (v.empty() || !(IsAsciiLetter(v.back()) || v.back() == '%')) {
        r.lineHeightKind = 0;
        r.lineHeightNumber.assign(v);
    } else {
        r.lineHeightKind = 1;
        SplitNumberAndUnit(v, r.lineHeightValue, r.lineHeightUnit);
    }
}

struct BorderFields {
    Flag colorOn;
    Colour color;
    Flag widthOn;
    Flag widthKind;
    Text widthValue;
    Text widthUnit;
    Text widthKeyword;
    Flag styleOn;
    Text style;
};

constexpr BorderFields kTopBorder{&PageState::borderTopColorOn,    &PageState::borderTopColor,
                                  &PageState::borderTopWidthOn,    &PageState::borderTopWidthKind,
                                  &PageState::borderTopWidthValue, &PageState::borderTopWidthUnit,
                                  &PageState::borderTopWidthKeyword, &PageState::borderTopStyleOn,
                                  &PageState::borderTopStyle};
constexpr BorderFields kBottomBorder{
    &PageState::borderBottomColorOn,    &PageState::borderBottomColor,
    &PageState::borderBottomWidthOn,    &PageState::borderBottomWidthKind,
    &PageState::borderBottomWidthValue, &PageState::borderBottomWidthUnit,
    &PageState::borderBottomWidthKeyword, &PageState::borderBottomStyleOn,
    &PageState::borderBottomStyle};
constexpr BorderFields kLeftBorder{
    &PageState::borderLeftColorOn,    &PageState::borderLeftColor,
    &PageState::borderLeftWidthOn,    &PageState::borderLeftWidthKind,
    &PageState::borderLeftWidthValue, &PageState::borderLeftWidthUnit,
    &PageState::borderLeftWidthKeyword, &PageState::borderLeftStyleOn,
    &PageState::borderLeftStyle};
constexpr BorderFields kRightBorder{
    &PageState::borderRightColorOn,    &PageState::borderRightColor,
    &PageState::borderRightWidthOn,    &PageState::borderRightWidthKind,
    &PageState::borderRightWidthValue, &PageState::borderRightWidthUnit,
    &PageState::borderRightWidthKeyword, &PageState::borderRightStyleOn,
    &PageState::borderRightStyle};

// Up to three words separated by runs of white space; the third takes the rest.
template <const BorderFields& F>
void Border(PageState& r, PropertyEntry&, std::string_view v) {
    v = TrimAsciiSpace(v);
    for (int part = 0; part < 3 && !v.empty(); ++part) {
        size_t end = v.size();
        if (part < 2) {
            end = 0;
            while (end < v.size() && !IsAsciiSpace(v[end])) ++end;
        }
        std::string_view word = v.substr(0, end);
        v = TrimAsciiSpace(v.substr(end));

        std::string unit, number;
        if (IsColourText(word)) {
            r.*F.colorOn = 1;
            r.*F.color = ColourFromText(word);
        } else if (SplitLength(word, unit, number)) {
            r.*F.widthOn = 1;
            r.*F.widthKind = 0;
            r.*F.widthValue = std::move(number);
            r.*F.widthUnit = std::move(unit);
        } else if (word == "thin" || word == "medium" || word == "thick") {
            r.*F.widthOn = 1;
            r.*F.widthKind = 1;
            (r.*F.widthKeyword).assign(word);
        } else {
            r.*F.styleOn = 1;
            (r.*F.style).assign(word);
        }
    }
}

using P = PageState;

constexpr std::array<Handler, kPropertyCount> kHandlers = [] {
    std::array<Handler, kPropertyCount> h{};
    h[kFontFamily] = FontFamily;
    h[kFontStyle] = Keyword<&P::fontStyleOn, &P::fontStyle>;
    h[kFontVariant] = Keyword<&P::fontVariantOn, &P::fontVariant>;
    h[kFontSize] = FontSize;
    h[kFontWeight] = FontWeight;
    h[kColor] = ColourOf<&P::colorOn, &P::color>;
    h[kBackgroundRepeat] = Keyword<&P::backgroundRepeatOn, &P::backgroundRepeat>;
    h[kBackgroundAttachment] = Keyword<&P::backgroundAttachmentOn, &P::backgroundAttachment>;
    h[kBackgroundColor] = ColourOf<&P::backgroundColorOn, &P::backgroundColor>;
    h[kBackgroundImage] = BackgroundImage;
    h[kBackgroundPosition] = BackgroundPosition;
    h[kWordSpacing] = Length<&P::wordSpacingOn, &P::wordSpacingValue, &P::wordSpacingUnit>;
    h[kTextDecoration] = Keyword<&P::textDecorationOn, &P::textDecoration>;
    h[kLetterSpacing] = Length<&P::letterSpacingOn, &P::letterSpacingValue, &P::letterSpacingUnit>;
    h[kVerticalAlign] = VerticalAlign;
    h[kTextTransform] = Keyword<&P::textTransformOn, &P::textTransform>;
    h[kTextAlign] = Keyword<&P::textAlignOn, &P::textAlign>;
    h[kTextIndent] = Length<&P::textIndentOn, &P::textIndentValue, &P::textIndentUnit>;
    h[kLineHeight] = LineHeight;
    h[kMarginTop] = Margin<&P::marginTopOn, &P::marginTopKind, &P::marginTopValue, &P::marginTopUnit>;
    h[kMarginBottom] =
        Margin<&P::marginBottomOn, &P::marginBottomKind, &P::marginBottomValue, &P::marginBottomUnit>;
    h[kMarginLeft] =
        Margin<&P::marginLeftOn, &P::marginLeftKind, &P::marginLeftValue, &P::marginLeftUnit>;
    h[kMarginRight] =
        Margin<&P::marginRightOn, &P::marginRightKind, &P::marginRightValue, &P::marginRightUnit>;
    h[kPaddingTop] = Length<&P::paddingTopOn, &P::paddingTopValue, &P::paddingTopUnit>;
    h[kPaddingBottom] = Length<&P::paddingBottomOn, &P::paddingBottomValue, &P::paddingBottomUnit>;
    h[kPaddingLeft] = Length<&P::paddingLeftOn, &P::paddingLeftValue, &P::paddingLeftUnit>;
    h[kPaddingRight] = Length<&P::paddingRightOn, &P::paddingRightValue, &P::paddingRightUnit>;
    h[kBorderTop] = Border<kTopBorder>;
    h[kBorderBottom] = Border<kBottomBorder>;
    h[kBorderLeft] = Border<kLeftBorder>;
    h[kBorderRight] = Border<kRightBorder>;
    h[kVisibility] = Keyword<&P::visibilityOn, &P::visibility>;
    h[kZIndex] = Keyword<&P::zIndexOn, &P::zIndex>;
    h[kPosition] = Keyword<&P::positionOn, &P::position>;
    h[kOverflow] = Keyword<&P::overflowOn, &P::overflow>;
    h[kLeft] = Length<&P::leftOn, &P::leftValue, &P::leftUnit>;
    h[kTop] = Length<&P::topOn, &P::topValue, &P::topUnit>;
    h[kHeight] = Length<&P::heightOn, &P::heightValue, &P::heightUnit>;
    h[kWidth] = Length<&P::widthOn, &P::widthValue, &P::widthUnit>;
    h[kClear] = Keyword<&P::clearOn, &P::clear>;
    h[kFloat] = Keyword<&P::floatOn, &P::cssFloat>;
    return h;
}();

// The switches of each property's controls: what the pages show as off
// when the rule no longer declares it.
using Switches = std::array<Flag, 3>;
constexpr std::array<Switches, kPropertyCount> kSwitches = [] {
    std::array<Switches, kPropertyCount> s{};
    s[kFontFamily] = {&P::fontFamily1On, &P::fontFamily2On, &P::fontGenericOn};
    s[kFontStyle] = {&P::fontStyleOn};
    s[kFontVariant] = {&P::fontVariantOn};
    s[kFontSize] = {&P::fontSizeOn};
    s[kFontWeight] = {&P::fontWeightOn};
    s[kColor] = {&P::colorOn};
    s[kBackgroundRepeat] = {&P::backgroundRepeatOn};
    s[kBackgroundAttachment] = {&P::backgroundAttachmentOn};
    s[kBackgroundColor] = {&P::backgroundColorOn};
    s[kBackgroundImage] = {&P::backgroundImageOn};
    s[kBackgroundPosition] = {&P::backgroundPositionOn};
    s[kWordSpacing] = {&P::wordSpacingOn};
    s[kTextDecoration] = {&P::textDecorationOn};
    s[kLetterSpacing] = {&P::letterSpacingOn};
    s[kVerticalAlign] = {&P::verticalAlignOn};
    s[kTextTransform] = {&P::textTransformOn};
    s[kTextAlign] = {&P::textAlignOn};
    s[kTextIndent] = {&P::textIndentOn};
    s[kLineHeight] = {&P::lineHeightOn};
    s[kMarginTop] = {&P::marginTopOn};
    s[kMarginBottom] = {&P::marginBottomOn};
    s[kMarginLeft] = {&P::marginLeftOn};
    s[kMarginRight] = {&P::marginRightOn};
    s[kPaddingTop] = {&P::paddingTopOn};
    s[kPaddingBottom] = {&P::paddingBottomOn};
    s[kPaddingLeft] = {&P::paddingLeftOn};
    s[kPaddingRight] = {&P::paddingRightOn};
    s[kBorderTop] = {kTopBorder.colorOn, kTopBorder.widthOn, kTopBorder.styleOn};
    s[kBorderBottom] = {kBottomBorder.colorOn, kBottomBorder.widthOn, kBottomBorder.styleOn};
    s[kBorderLeft] = {kLeftBorder.colorOn, kLeftBorder.widthOn, kLeftBorder.styleOn};
    s[kBorderRight] = {kRightBorder.colorOn, kRightBorder.widthOn, kRightBorder.styleOn};
    s[kVisibility] = {&P::visibilityOn};
    s[kZIndex] = {&P::zIndexOn};
    s[kPosition] = {&P::positionOn};
    s[kOverflow] = {&P::overflowOn};
    s[kLeft] = {&P::leftOn};
    s[kTop] = {&P::topOn};
    s[kHeight] = {&P::heightOn};
    s[kWidth] = {&P::widthOn};
    s[kClear] = {&P::clearOn};
    s[kFloat] = {&P::floatOn};
    return s;
}();

}  // namespace

void SplitNumberAndUnit(std::string_view text, std::string& number, std::string& unit) {
    size_t p = 0;
    while (p < text.size() && !IsAsciiLetter(text[p]) && text[p] != '%') ++p;
    number.assign(text.substr(0, p));
    unit.assign(text.substr(p));
}

namespace {

// A slot of the name table from the length and three of the letters: the
// reader asks for every declaration of a sheet.
size_t NameSlot(std::string_view name) {
    const auto at = [&](size_t i) { return static_cast<size_t>(static_cast<unsigned char>(name[i])); };
    return name.size() * 37 + at(0) * 11 + at(name.size() / 2) * 5 + at(name.size() - 1);
}

}  // namespace

int PropertyIndexOfName(std::string_view name) {
    constexpr size_t kSlots = 128;  // a power of two, three times the names
    static const std::array<signed char, kSlots> byName = [] {
        std::array<signed char, kSlots> t;
        t.fill(-1);
        for (int i = 0; i < kPropertyCount; ++i) {
            size_t slot = NameSlot(PropertyName(i)) % kSlots;
            while (t[slot] >= 0) slot = (slot + 1) % kSlots;
            t[slot] = static_cast<signed char>(i);
        }
        return t;
    }();
    if (name.empty()) return -1;
    for (size_t slot = NameSlot(name) % kSlots;; slot = (slot + 1) % kSlots) {
        const int index = byName[slot];
        if (index < 0) return -1;
        if (PropertyName(index) == name) return index;
    }
}

void BuildPageStateFromEntry(PageState& state, int entryIndex, const PropertyEntry& entry) {
    if (entryIndex == kFontFamily) {
        // The entry holds the parts as the handler sorted them.
        state.fontFamily1On = entry.valueSet;
        state.fontFamily2On = entry.alternateSet;
        state.fontGenericOn = entry.genericSet;
        state.fontFamily1 = entry.valueSet ? entry.value : std::string();
        state.fontFamily2 = entry.alternateSet ? entry.alternate : std::string();
        state.fontGeneric = entry.genericSet ? entry.generic : std::string();
        return;
    }
    PropertyEntry unused;
    kHandlers[static_cast<size_t>(entryIndex)](state, unused, entry.value);
}

void ReadPropertyValue(StyleRule& rule, int entryIndex, std::string_view value) {
    if (entryIndex < 0 || entryIndex >= kPropertyCount) return;
    // Asked before the entry changes: a property read twice has its page
    // state built from the first value before the second one is applied.
    PageState* state = rule.PageStateForDeclaration(entryIndex, BuildPageStateFromEntry);
    // Without a page state of its own the rule's fields are built from the
    // entry when a page asks; the handler still sorts the entry's parts.
    thread_local PageState scratch;
    PropertyEntry& entry = rule.properties[static_cast<size_t>(entryIndex)];
    entry.value.assign(value);
    kHandlers[static_cast<size_t>(entryIndex)](state ? *state : scratch, entry, value);
}

}  // namespace larkspur

namespace larkspur {

void SwitchOffPageState(PageState& state, int entryIndex) {
    if (entryIndex < 0 || entryIndex >= kPropertyCount) return;
    for (Flag on : kSwitches[static_cast<size_t>(entryIndex)])
        if (on) state.*on = 0;
}

void ReadItemValue(StyleRule& rule, const BlockItem& item) {
    PropertyEntry& entry = rule.properties[static_cast<size_t>(item.entry)];
    entry.valueSet = 1;
    entry.changed = 1;
    if (item.open)
        ReadPropertyValue(rule, item.entry, css_scan::CloseOpenParts(item.value));
    else
        ReadPropertyValue(rule, item.entry, item.value);
    entry.listed = entry.HasAnyValueText() ? 1 : 0;
}

}  // namespace larkspur
