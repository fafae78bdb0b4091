#include <gtest/gtest.h>

#include <QWidget>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "layout_sheet.h"
#include "page_test_host.h"
#include "pages/page_factory.h"
#include "pages/property_page.h"

namespace larkspur {
namespace {

namespace fs = std::filesystem;
using testing::FakePageHost;

#define F(name) {#name, &PageState::name}
struct TextFieldName { const char* name; std::string PageState::*field; };
struct FlagFieldName { const char* name; int PageState::*field; };
struct ColourFieldName { const char* name; ColourValue PageState::*field; };

const TextFieldName kTextFields[] = {
    F(fontStyle), F(fontFamily1), F(fontFamily2), F(fontGeneric), F(fontVariant), F(fontWeight),
    F(fontSizeRelative), F(fontSizeValue), F(backgroundPositionText), F(fontSizeUnit), F(fontSizeAbsolute),
    F(fontSizePercent), F(backgroundRepeat), F(backgroundAttachment), F(backgroundImage),
    F(backgroundPositionKeyword1), F(backgroundPositionValue2), F(backgroundPositionValue1),
    F(backgroundPositionKeyword2), F(wordSpacingValue), F(textDecoration), F(wordSpacingUnit),
    F(letterSpacingUnit), F(letterSpacingValue), F(verticalAlignPercent), F(verticalAlignKeyword),
    F(textTransform), F(textAlign), F(textIndentValue), F(lineHeightNumber), F(lineHeightValue),
    F(lineHeightKeyword), F(textIndentUnit), F(lineHeightUnit), F(marginTopValue), F(marginBottomValue),
    F(marginLeftValue), F(marginRightValue), F(marginBottomUnit), F(marginLeftUnit), F(marginRightUnit),
    F(marginTopUnit), F(paddingTopValue), F(paddingBottomValue), F(paddingLeftValue), F(paddingRightValue),
    F(paddingBottomUnit), F(paddingLeftUnit), F(paddingRightUnit), F(paddingTopUnit),
    F(backgroundPositionUnit1), F(backgroundPositionUnit2), F(borderTopStyle), F(borderTopWidthValue),
    F(borderTopWidthKeyword), F(borderTopWidthUnit), F(borderBottomWidthValue), F(borderBottomWidthUnit),
    F(borderBottomWidthKeyword), F(borderBottomStyle), F(borderLeftWidthKeyword), F(borderLeftWidthValue),
    F(borderLeftWidthUnit), F(borderLeftStyle), F(borderRightWidthKeyword), F(borderRightWidthValue),
    F(borderRightWidthUnit), F(borderRightStyle), F(visibility), F(zIndex), F(position), F(overflow),
    F(leftValue), F(leftUnit), F(topValue), F(topUnit), F(widthValue), F(widthUnit), F(heightValue),
    F(heightUnit), F(clear), F(cssFloat),
};
const FlagFieldName kFlagFields[] = {
    F(fontStyleOn), F(fontFamily1On), F(fontFamily2On), F(fontGenericOn), F(fontVariantOn),
    F(fontWeightOn), F(fontSizeKind), F(fontSizeOn), F(colorOn), F(backgroundPositionKind),
    F(backgroundAttachmentOn), F(backgroundPositionOn), F(backgroundImageOn), F(backgroundRepeatOn),
    F(backgroundColorOn), F(wordSpacingOn), F(letterSpacingOn), F(textDecorationOn), F(textAlignOn),
    F(lineHeightOn), F(textIndentOn), F(lineHeightKind), F(textTransformOn), F(verticalAlignOn),
    F(verticalAlignKind), F(marginBottomOn), F(marginLeftOn), F(marginRightOn), F(marginTopOn),
    F(marginBottomKind), F(marginLeftKind), F(marginRightKind), F(marginTopKind), F(paddingBottomOn),
    F(paddingLeftOn), F(paddingRightOn), F(paddingTopOn), F(borderTopWidthKind), F(borderTopWidthOn),
    F(borderTopColorOn), F(borderTopStyleOn), F(borderBottomWidthKind), F(borderLeftWidthKind),
    F(borderRightWidthKind), F(borderBottomWidthOn), F(borderBottomColorOn), F(borderLeftWidthOn),
    F(borderRightWidthOn), F(borderBottomStyleOn), F(borderLeftColorOn), F(borderLeftStyleOn),
    F(borderRightColorOn), F(borderRightStyleOn), F(visibilityOn), F(zIndexOn), F(positionOn),
    F(overflowOn), F(leftOn), F(topOn), F(widthOn), F(heightOn), F(clearOn), F(floatOn),
};
const ColourFieldName kColourFields[] = {
    F(color), F(backgroundColor), F(borderLeftColor), F(borderTopColor), F(borderRightColor),
    F(borderBottomColor),
};
#undef F

std::string Lower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return text;
}

// What the pages must show again: every flag, kind and colour, and every text
// the reader filled in. (A list box given an empty text shows its first item,
// so an empty text may come back as that item; list items are matched without
// regard to case, so "bold" may come back as the weight word "Bold".)
std::string StateDump(const PageState& s, const PageState* filled = nullptr) {
    std::ostringstream out;
    for (const auto& f : kTextFields)
        if (!filled || !(filled->*f.field).empty()) out << f.name << "=" << Lower(s.*f.field) << "\n";
    for (const auto& f : kFlagFields) out << f.name << "=" << s.*f.field << "\n";
    for (const auto& f : kColourFields) out << f.name << "=" << s.*f.field << "\n";
    return out.str();
}

std::string ReadBytes(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class LayoutRoundTripTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("larkspur-pages-" + std::to_string(::getpid()));
        fs::create_directories(dir);
        pages = CreatePropertyPages(host, &parent);
    }
    void TearDown() override { fs::remove_all(dir); }

    void StorePages() {
        host.loading = true;
        for (CPropertyPage* page : pages) page->StoreToRule();
        host.loading = false;
    }
    void LoadPages() {
        host.loading = true;
        for (CPropertyPage* page : pages) {
            page->LoadFromRule();
            page->RefreshEnabling();
        }
        host.loading = false;
    }
    // Selecting every rule of the list in turn, as the user would.
    void VisitEveryRule() {
        for (int i = 0; i < host.document.RuleCount(); ++i) {
            StorePages();
            host.document.SetSelectedIndex(i);
            LoadPages();
        }
        StorePages();
    }

    FakePageHost host;
    QWidget parent;
    std::vector<CPropertyPage*> pages;
    fs::path dir;
};

TEST_F(LayoutRoundTripTest, EveryPropertyThroughEveryPageComesBackUnchanged) {
    const std::string sheet = EveryPropertySheet();
    const fs::path in = dir / "every.css";
    { std::ofstream(in, std::ios::binary) << sheet; }
    ASSERT_TRUE(host.document.ReadStyleSheet(in.string()));
    LoadPages();
    ASSERT_EQ(host.document.StyleSheetText(), sheet);

    std::vector<PageState> read;
    for (const StyleRule& rule : host.document.Rules()) read.push_back(rule.pageState());

    VisitEveryRule();
    const fs::path out = dir / "again.css";
    ASSERT_TRUE(host.document.WriteStyleSheetFile(out.string()));
    EXPECT_EQ(ReadBytes(out), sheet);

    std::vector<PageState> shown;
    for (int i = 0; i < host.document.RuleCount(); ++i) {
        const StyleRule& rule = host.document.Rules()[size_t(i)];
        SCOPED_TRACE(rule.selector);
        EXPECT_EQ(StateDump(rule.pageState(), &read[size_t(i)]), StateDump(read[size_t(i)], &read[size_t(i)]));
        shown.push_back(rule.pageState());
    }
    // A second visit changes nothing more.
    VisitEveryRule();
    for (int i = 0; i < host.document.RuleCount(); ++i)
        EXPECT_EQ(StateDump(host.document.Rules()[size_t(i)].pageState()), StateDump(shown[size_t(i)]))
            << host.document.Rules()[size_t(i)].selector;
    EXPECT_EQ(host.document.StyleSheetText(), sheet);
}

}  // namespace
}  // namespace larkspur
