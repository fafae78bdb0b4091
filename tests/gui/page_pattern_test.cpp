#include <gtest/gtest.h>

#include <QAction>
#include <QKeyEvent>
#include <QLineEdit>
#include <QVBoxLayout>
#include <set>

#include "controls/property_combo.h"
#include "controls/property_edit.h"
#include "page_driving.h"
#include "page_test_host.h"
#include "pages/color_page.h"
#include "pages/font_page.h"
#include "pages/page_factory.h"

namespace larkspur {
namespace {

TEST(PagePattern, EveryControlHasAUniqueAccessibleName) {
    testing::FakePageHost host;
    CFontPage font(host);
    CColorPage background(host);
    for (CPropertyPage* page : {static_cast<CPropertyPage*>(&font), static_cast<CPropertyPage*>(&background)}) {
        SCOPED_TRACE(page->Caption().toStdString());
        std::set<QString> names;
        for (const auto& [id, w] : page->Controls()) {
            SCOPED_TRACE(id);
            EXPECT_FALSE(w->accessibleName().isEmpty());
            EXPECT_EQ(w->accessibleDescription(), w->accessibleName());
            EXPECT_TRUE(names.insert(w->accessibleName()).second) << w->accessibleName().toStdString();
        }
    }
    EXPECT_EQ(font.Control(1051)->accessibleName(), "Absolute keyword");
    EXPECT_EQ(font.Control(1053)->accessibleName(), "Value number");
    EXPECT_EQ(font.Control(1143)->accessibleName(), "Value unit");
    EXPECT_EQ(font.Control(1030)->accessibleName(), "Color colour");
    EXPECT_EQ(font.Control(1059)->accessibleName(), "Size");
    EXPECT_EQ(background.Control(1078)->accessibleName(), "Keyword keyword 1");
    EXPECT_EQ(background.Control(1079)->accessibleName(), "Keyword keyword 2");
    EXPECT_EQ(background.Control(1072)->accessibleName(), "Background Image file");
}

TEST(PagePattern, PagesComeInSheetOrderWithTheirCaptions) {
    testing::FakePageHost host;
    QWidget parent;
    std::vector<CPropertyPage*> pages = CreatePropertyPages(host, &parent);
    ASSERT_EQ(pages.size(), 7u);
    EXPECT_EQ(pages[0]->Caption(), "Background");
    EXPECT_EQ(pages[1]->Caption(), "Font");
    EXPECT_NE(dynamic_cast<CColorPage*>(pages[0]), nullptr);
    EXPECT_NE(dynamic_cast<CFontPage*>(pages[1]), nullptr);
}

// An edit box keeps the text-editing keys the window also uses (Delete,
// Ctrl+C, Ctrl+Z); every other window shortcut passes through it.
TEST(PagePattern, EditBoxesKeepTheirEditingKeys) {
    testing::FakePageHost host;
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* page = new CFontPage(host);
    layout->addWidget(page);
    auto* clear = new QAction("Clear", &window);
    clear->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    window.addAction(clear);

    auto overrideAccepted = [](QWidget* target, QKeyCombination keys) {
        QKeyEvent event(QEvent::ShortcutOverride, keys.key(), keys.keyboardModifiers());
        event.setAccepted(false);
        QApplication::sendEvent(target, &event);
        return event.isAccepted();
    };
    QLineEdit* edit = page->Edit(1053);
    edit->setText("12");
    EXPECT_TRUE(overrideAccepted(edit, Qt::CTRL | Qt::Key_Z));
    EXPECT_TRUE(overrideAccepted(edit, Qt::CTRL | Qt::Key_C));
    EXPECT_TRUE(overrideAccepted(edit, QKeyCombination(Qt::Key_Delete)));
    EXPECT_FALSE(overrideAccepted(edit, Qt::CTRL | Qt::Key_N));  // left to the window
    EXPECT_FALSE(overrideAccepted(edit, QKeyCombination(Qt::Key_F12)));
}

TEST(PagePattern, TypedComboTextGivesWayToTheChosenItem) {
    testing::FakePageHost host;
    CFontPage page(host);
    host.SelectListedRule(0);
    page.LoadFromRule();
    page.RefreshEnabling();
    testing::Click(page, 1035);
    CPropertyCombo* combo = page.Combo(1036);
    combo->lineEdit()->setText("slanted");
    EXPECT_EQ(host.Lines(), "font-style: italic;\n");
    // The Store of the box itself reads the chosen item, not the typing.
    combo->Store();
    EXPECT_EQ(combo->currentText(), "italic");
    EXPECT_EQ(host.Lines(), "font-style: italic;\n");
    // A disabled box offers no value.
    testing::Click(page, 1035);
    EXPECT_EQ(combo->GetValue(), "");
}

TEST(PagePattern, NothingHappensWhileTheWindowIsLoading) {
    testing::FakePageHost host;
    CFontPage page(host);
    host.SelectListedRule(0);
    page.LoadFromRule();
    host.loading = true;
    testing::Click(page, 1035);
    EXPECT_EQ(host.Lines(), "");
    EXPECT_EQ(host.Entry(kFontStyle).changed, 0);
}

}  // namespace
}  // namespace larkspur
