#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "model/colour.h"
#include "model/property_list.h"

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

// One rule of the sheet: selector, the 41 property entries, the page state and
// the bookkeeping that ties the rule to the live listing.
//
// A rule holds only what it sets: the entries it wrote (PropertyList) and its
// page state once a page or a copy needs it. Until then the page state is the
// defaults, with the fields of each property read from a sheet built from
// that property's entry when first asked for.
class StyleRule {
public:
    StyleRule() = default;
    explicit StyleRule(std::string_view selectorText) : selector(selectorText) {}

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
    // The same, taking the source's page state and entries instead of copying.
    void TakeValuesFrom(StyleRule&& source);

    // A rule's values alone (entries and page state), for carrying many of
    // them from a reader to the document without a whole rule each.
    struct Values {
        PropertyList properties;
        std::unique_ptr<PageState> state;
        uint64_t built = 0;
    };
    // Hands the values over, leaving this rule's at their defaults.
    Values TakeValues();
    void TakeValuesFrom(Values&& source);

    PageState& pageState() { return HeldPageState(); }
    const PageState& pageState() const { return HeldPageState(); }
    bool HoldsPageState() const { return state_ != nullptr; }

    // Fills one property's page-state fields from its entry.
    using PageStateBuilder = void (*)(PageState& state, int entryIndex, const PropertyEntry& entry);
    // For a reader about to store a declaration of this property: the page
    // state to write into when the rule holds one (or must, because the
    // property was read before and its fields are to show both declarations);
    // otherwise nullptr, and the fields are built from the entry later.
    PageState* PageStateForDeclaration(int entryIndex, PageStateBuilder build);

    int listed = 0;
    std::string selector;
    PropertyList properties;

private:
    PageState& HeldPageState() const;
    void CopyPageStateFrom(const StyleRule& other);

    mutable std::unique_ptr<PageState> state_;
    mutable uint64_t built_ = 0;  // properties whose page state is built from the entry
    static inline PageStateBuilder builder_ = nullptr;
};

using RuleList = std::vector<StyleRule>;

}  // namespace larkspur
