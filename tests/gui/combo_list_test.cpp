#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QLineEdit>

#include "widget_driving.h"

#include "controls/combo_list.h"
#include "controls/list_combo.h"
#include "model/vocabulary.h"

namespace larkspur {
namespace {

QStringList Items(const CListCombo& combo) { return combo.Items(); }

TEST(ListCombo, SortedBoxShowsItemsSortedWhateverTheFillOrder) {
    CListCombo units;
    units.SetSorted(true);
    units.AddItems(kUnits);
    EXPECT_EQ(Items(units), (QStringList{"%", "cm", "em", "ex", "in", "mm", "pt", "px"}));

    CListCombo repeats;
    repeats.SetSorted(true);
    repeats.AddItems(kBackgroundRepeats);
    EXPECT_EQ(Items(repeats), (QStringList{"no-repeat", "repeat", "repeat-x", "repeat-y"}));

    // Case plays no part in the order; equal folds keep a stable byte order.
    CListCombo fonts;
    fonts.SetSorted(true);
    fonts.AddItems(QStringList{"courier", "Arial", "Zapf", "arial", "Bitstream"});
    EXPECT_EQ(Items(fonts), (QStringList{"Arial", "arial", "Bitstream", "courier", "Zapf"}));

    CListCombo weights;  // unsorted keeps the fill order
    weights.AddItems(kFontWeightNames);
    EXPECT_EQ(weights.itemText(0), "Very Light");
    EXPECT_EQ(weights.itemText(9), "Lighter");
}

TEST(ListCombo, SelectStringTakesFirstItemWithThePrefixIgnoringCase) {
    CListCombo combo;
    combo.AddItems(kFontWeightNames);  // ... "Bold", ..., "Bolder", ...
    struct Case {
        const char* text;
        int index;
        const char* shown;
    } cases[] = {
        {"", 0, "Very Light"}, {"bold", 4, "Bold"},  {"BOLDER", 8, "Bolder"},
        {"b", 4, "Bold"},      {"l", 1, "Light"},    {"heavier", -1, "heavier"},
        {"Very H", 6, "Very Heavy"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(combo.SelectString(c.text), c.index);
        EXPECT_EQ(combo.currentIndex(), c.index);
        EXPECT_EQ(combo.currentText(), c.shown);
    }
}

TEST(ListCombo, TransferShowsAStoredValueExactly) {
    CListCombo fonts;
    fonts.SetSorted(true);
    fonts.AddItems(QStringList{"Times New Roman", "Arial Black", "Arial"});
    // An exact item wins over an earlier longer one ...
    EXPECT_EQ(fonts.TransferText("arial"), 0);
    EXPECT_EQ(fonts.currentText(), "Arial");
    // ... and a value without an item of its own is shown as it is, not as
    // the first longer name that happens to begin with it.
    EXPECT_EQ(fonts.TransferText("Times"), -1);
    EXPECT_EQ(fonts.currentText(), "Times");
    EXPECT_EQ(fonts.TransferText(""), 0);
    EXPECT_EQ(fonts.currentText(), "Arial");

    CListCombo empty;
    EXPECT_EQ(empty.TransferText(""), -1);
    EXPECT_EQ(empty.TransferText("Verdana"), -1);
    EXPECT_EQ(empty.currentText(), "Verdana");
}

TEST(ListCombo, ClosingTheListAndKeyboardChoicesReportCloseUp) {
    CListCombo combo;
    combo.AddItems(kAbsoluteSizes);
    combo.show();
    int closes = 0;
    QObject::connect(&combo, &CListCombo::ClosedUp, [&] { ++closes; });

    combo.hidePopup();  // not open: nothing closes
    EXPECT_EQ(closes, 0);

    combo.showPopup();
    ASSERT_TRUE(combo.view()->isVisible());
    combo.hidePopup();
    EXPECT_EQ(closes, 1);

    // Arrow keys on the closed box choose an item at once.
    combo.setFocus();
    testing::PressKey(&combo, Qt::Key_Down);
    EXPECT_EQ(combo.currentText(), "x-small");
    EXPECT_EQ(closes, 2);

    // Typing into the edit field is no choice.
    testing::TypeText(combo.lineEdit(), "abc");
    EXPECT_EQ(closes, 2);
}

TEST(ComboListRules, InsertPositionAndMatches) {
    const QStringList items{"center", "left", "right"};
    EXPECT_EQ(SortedInsertPosition(items, "bottom"), 0);
    EXPECT_EQ(SortedInsertPosition(items, "LEFT"), 1);  // before "left": "LEFT" < "left" bytewise
    EXPECT_EQ(SortedInsertPosition(items, "top"), 3);
    EXPECT_EQ(FindItemWithPrefix(items, "R"), 2);
    EXPECT_EQ(FindItemWithPrefix({}, ""), -1);
    EXPECT_EQ(FindItemExact(items, "Left"), 1);
    EXPECT_EQ(FindItemExact(items, "lef"), -1);
}

}  // namespace
}  // namespace larkspur
