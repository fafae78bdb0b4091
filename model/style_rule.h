#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "model/colour.h"
#include "model/property_entry.h"

namespace larkspur {

// What the property pages show for one rule: one field per value-carrying
// control. "On" fields are check boxes, "Kind" fields the chosen radio button.
struct PageState {
    std::string fontStyle{};
    std::string fontFamily1{};
    std::string fontFamily2{};
    std::string fontGeneric{};
    std::string fontVariant{};
    int fontStyleOn = 0;
    int fontFamily1On = 0;
    int fontFamily2On = 0;
    int fontGenericOn = 0;
    int fontVariantOn = 0;
    std::string fontWeight{};
    int fontWeightOn = 0;
    std::string fontSizeRelative{};
    int fontSizeKind = 0;
    std::string fontSizeValue{};
    std::string backgroundPositionText{};
    std::string fontSizeUnit{"%"};
    std::string fontSizeAbsolute{};
    std::string fontSizePercent{};
    int fontSizeOn = 0;
    int colorOn = 0;
    ColourValue color = 0x000000;
    ColourValue backgroundColor = 0xFFFFFF;
    std::string backgroundRepeat{};
    std::string backgroundAttachment{};
    std::string backgroundImage{};
    std::string backgroundPositionKeyword1{};
    std::string backgroundPositionValue2{};
    std::string backgroundPositionValue1{};
    std::string backgroundPositionKeyword2{};
    int backgroundPositionKind = 0;
    int backgroundAttachmentOn = 0;
    int backgroundPositionOn = 0;
    int backgroundImageOn = 0;
    int backgroundRepeatOn = 0;
    int backgroundColorOn = 0;
    std::string wordSpacingValue{};
    std::string textDecoration{};
    std::string wordSpacingUnit{"%"};
    int wordSpacingOn = 0;
    std::string letterSpacingUnit{"%"};
    int letterSpacingOn = 0;
    int textDecorationOn = 0;
    std::string letterSpacingValue{};
    std::string verticalAlignPercent{};
    std::string verticalAlignKeyword{};
    std::string textTransform{};
    std::string textAlign{};
    std::string textIndentValue{};
    std::string lineHeightNumber{};
    std::string lineHeightValue{};
    std::string lineHeightKeyword{};
    int textAlignOn = 0;
    int lineHeightOn = 0;
    int textIndentOn = 0;
    int lineHeightKind = 0;
    int textTransformOn = 0;
    int verticalAlignOn = 0;
    std::string textIndentUnit{"%"};
    std::string lineHeightUnit{"%"};
    int verticalAlignKind = 0;
    std::string marginTopValue{};
    std::string marginBottomValue{};
    std::string marginLeftValue{};
    std::string marginRightValue{};
    std::string marginBottomUnit{"%"};
    int marginBottomOn = 0;
    int marginLeftOn = 0;
    int marginRightOn = 0;
    int marginTopOn = 0;
    std::string marginLeftUnit{"%"};
    int marginBottomKind = 0;
    int marginLeftKind = 0;
    int marginRightKind = 0;
    int marginTopKind = 0;
    std::string marginRightUnit{"%"};
    std::string marginTopUnit{"%"};
    std::string paddingTopValue{};
    std::string paddingBottomValue{};
    std::string paddingLeftValue{};
    std::string paddingRightValue{};
    int paddingBottomOn = 0;
    int paddingLeftOn = 0;
    int paddingRightOn = 0;
    int paddingTopOn = 0;
    std::string paddingBottomUnit{"%"};
    std::string paddingLeftUnit{"%"};
    std::string paddingRightUnit{"%"};
    std::string paddingTopUnit{"%"};
    std::string backgroundPositionUnit1{"%"};
    std::string backgroundPositionUnit2{"%"};
    std::string borderTopStyle{};
    std::string borderTopWidthValue{};
    std::string borderTopWidthKeyword{};
    int borderTopWidthKind = 0;
    std::string borderTopWidthUnit{"%"};
    int borderTopWidthOn = 0;
    int borderTopColorOn = 0;
    int borderTopStyleOn = 0;
    std::string borderBottomWidthValue{};
    std::string borderBottomWidthUnit{"%"};
    std::string borderBottomWidthKeyword{};
    std::string borderBottomStyle{};
    int borderBottomWidthKind = 0;
    std::string borderLeftWidthKeyword{};
    std::string borderLeftWidthValue{};
    std::string borderLeftWidthUnit{};
    std::string borderLeftStyle{};
    int borderLeftWidthKind = 0;
    std::string borderRightWidthKeyword{};
    std::string borderRightWidthValue{};
    std::string borderRightWidthUnit{"%"};
    int borderRightWidthKind = 0;
    std::string borderRightStyle{};
    int borderBottomWidthOn = 0;
    int borderBottomColorOn = 0;
    int borderLeftWidthOn = 0;
    int borderRightWidthOn = 0;
    int borderBottomStyleOn = 0;
    int borderLeftColorOn = 0;
    int borderLeftStyleOn = 0;
    int borderRightColorOn = 0;
    int borderRightStyleOn = 0;
    std::string visibility{};
    int visibilityOn = 0;
    std::string zIndex{};
    int zIndexOn = 0;
    std::string position{};
    int positionOn = 0;
    int overflowOn = 0;
    std::string overflow{};
    int leftOn = 0;
    std::string leftValue{};
    std::string leftUnit{"%"};
    int topOn = 0;
    std::string topValue{};
    std::string topUnit{"%"};
    int widthOn = 0;
    std::string widthValue{};
    std::string widthUnit{"%"};
    int heightOn = 0;
    std::string heightValue{};
    std::string heightUnit{"%"};
    int clearOn = 0;
    int floatOn = 0;
    std::string clear{};
    std::string cssFloat{};  // the "float" field; float is a C++ keyword
    ColourValue borderLeftColor = 0x0000FF;
    ColourValue borderTopColor = 0x0000FF;
    ColourValue borderRightColor = 0x0000FF;
    ColourValue borderBottomColor = 0x0000FF;

    bool operator==(const PageState&) const = default;
};

using PropertyList = std::vector<PropertyEntry>;

// One rule of the sheet: selector, the 41 property entries, the page state and
// the bookkeeping that ties the rule to the live listing.
class StyleRule : public PageState {
public:
    StyleRule() : StyleRule(std::string_view{}) {}
    explicit StyleRule(std::string_view selectorText);

    // Copies selector, page state, listed and the entries; a copy starts with
    // its own listing fields at 0, an assigned-to rule keeps its own.
    StyleRule(const StyleRule& other);
    StyleRule& operator=(const StyleRule& other);
    StyleRule(StyleRule&&) noexcept = default;
    StyleRule& operator=(StyleRule&&) noexcept = default;

    void ResetToDefaults();

    // Page state and entries from the source; selector, listed and the listing
    // fields stay. Entries of a rule that is not listed come out unlisted.
    void CopyValuesFrom(const StyleRule& source);

    PageState& pageState() { return *this; }
    const PageState& pageState() const { return *this; }

    int lineCount = 0;  // lines below the header, the closing brace included
    int firstLine = 0;
    std::string selector;
    PropertyList properties;
    int listed = 0;
};

using RuleList = std::vector<StyleRule>;

}  // namespace larkspur
