#include <gtest/gtest.h>

#include "controls/property_edit.h"
#include "page_driving.h"
#include "page_test_host.h"
#include "pages/color_page.h"
#include "pages/image_path.h"

namespace larkspur {
namespace {

using testing::Checked;
using testing::Click;
using testing::Enabled;
using testing::Pick;
using testing::Text;

using enum CColorPage::ControlId;

class ColorPageTest : public testing::PageFixture<CColorPage> {};

TEST_F(ColorPageTest, SortedKeywordListsGiveTheirFirstItems) {
    EXPECT_EQ(page.ListCombo(kRepeatCombo)->Items(),
              (QStringList{"no-repeat", "repeat", "repeat-x", "repeat-y"}));
    Click(page, kRepeat);
    Click(page, kAttachment);
    EXPECT_EQ(Lines(), "background-repeat: no-repeat;\nbackground-attachment: fixed;\n");
    ASSERT_TRUE(Pick(page, kRepeatCombo, "repeat-y"));
    EXPECT_EQ(Lines(), "background-repeat: repeat-y;\nbackground-attachment: fixed;\n");
}

TEST_F(ColorPageTest, PositionKeywordsAreWrittenVerticalFirst) {
    Click(page, kPositionCheck);
    EXPECT_TRUE(Checked(page, kKeyword));
    EXPECT_EQ(Lines(), "background-position: bottom center;\n");
    EXPECT_FALSE(Enabled(page, kPoint1));
    EXPECT_FALSE(Enabled(page, kUnit1));

    ASSERT_TRUE(Pick(page, kKeyword1, "top"));
    EXPECT_EQ(Lines(), "background-position: top center;\n");
    ASSERT_TRUE(Pick(page, kKeyword2, "right"));
    EXPECT_EQ(Lines(), "background-position: top right;\n");
    ASSERT_TRUE(Pick(page, kKeyword1, "center"));
    EXPECT_EQ(Lines(), "background-position: center right;\n");
}

TEST_F(ColorPageTest, PositionPointJoinsTwoLengths) {
    Click(page, kPositionCheck);
    Click(page, kPoint);
    EXPECT_EQ(Text(page, kPoint1), "0");
    EXPECT_EQ(Lines(), "background-position: 0% ;\n");
    EXPECT_FALSE(Enabled(page, kKeyword1));

    ASSERT_TRUE(Pick(page, kUnit1, "px"));
    testing::Retype(page.Edit(kPoint1), "5");
    testing::TypeText(page.Edit(kPoint2), "10");
    ASSERT_TRUE(Pick(page, kUnit2, "em"));
    EXPECT_EQ(Lines(), "background-position: 5px 10em;\n");

    // Back to keywords: the keyword pair is written again.
    Click(page, kKeyword);
    EXPECT_EQ(Lines(), "background-position: bottom center;\n");
    EXPECT_FALSE(Enabled(page, kPoint2));
}

TEST_F(ColorPageTest, ImageEditWrapsItsText) {
    Click(page, kImage);  // empty default: nothing to write
    EXPECT_EQ(Lines(), "");
    testing::TypeText(page.Edit(kImageEdit), "a.gif");
    EXPECT_EQ(Lines(), "background-image: url(a.gif);\n");
}

TEST_F(ColorPageTest, BrowseAsksToSaveAnUnsavedSheetFirst) {
    // Save As cancelled: no file dialog, nothing changes.
    Click(page, kBrowse);
    EXPECT_EQ(host.dialogs.Transcript(), std::vector<std::string>{"Message: Larkspur: Please save the Style Sheet"});
    EXPECT_EQ(host.saveAsRuns, 1);
    host.dialogs.Clear();

    host.onSaveAs = [this] { host.savedPath = "/web/css/style.css"; };
    host.dialogs.openFiles.push_back("/web/img/a.gif");
    Click(page, kBrowse);
    EXPECT_EQ(host.saveAsRuns, 2);
    EXPECT_EQ(host.dialogs.Transcript(),
              (std::vector<std::string>{"Message: Larkspur: Please save the Style Sheet",
                                        "OpenFile: : Web Graphics Files | *.jpg; *.gif; *.png ||"}));
    EXPECT_EQ(Text(page, kImageEdit), "../img/a.gif");
    // Stored whether or not the check box is on.
    EXPECT_FALSE(Checked(page, kImage));
    EXPECT_EQ(host.Entry(kBackgroundImage).value, "url(../img/a.gif)");
    EXPECT_EQ(Lines(), "background-image: url(../img/a.gif);\n");

    // Saved sheet: no question; a cancelled file dialog leaves the edit alone.
    Click(page, kBrowse);
    EXPECT_EQ(host.saveAsRuns, 2);
    EXPECT_EQ(Text(page, kImageEdit), "../img/a.gif");
}

TEST_F(ColorPageTest, HelpLineCarriesTheToolTip) {
    QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), QPointF(2, 2), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(page.Button(kRepeat), &move);
    QApplication::sendEvent(page.Button(kPoint), &move);
    EXPECT_EQ(host.helpLines, (std::vector<std::string>{
                                  "background-repeat-Sets the repeat style for a background image", ""}));
}

TEST(RelativeImagePath, FromTheSheetsFolder) {
    const struct {
        const char* sheet;
        const char* image;
        const char* relative;
    } cases[] = {
        {"/web/style.css", "/web/img/a.gif", "img/a.gif"},
        {"/web/css/style.css", "/web/img/a.gif", "../img/a.gif"},
        {"/a/b/c.css", "/x.gif", "../../x.gif"},
        {"/web/style.css", "/web/a.gif", "a.gif"},
        {"/Web/style.css", "/web/a.gif", "../web/a.gif"},  // case counts
        {"/web/img/style.css", "/web/img", "../img"},      // a file named like a folder
        {"/web//css/style.css", "/web/css/a.gif", "a.gif"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.image);
        EXPECT_EQ(RelativeImagePath(c.sheet, c.image), c.relative);
    }
}

}  // namespace
}  // namespace larkspur
