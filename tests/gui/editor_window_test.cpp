#include <QAction>
#include <QComboBox>
#include <QMenuBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>

#include "controls/flat_toolbar.h"
#include "editor_fixture.h"
#include "editor/editor_commands.h"
#include "pages/property_page.h"

namespace larkspur::testing {
namespace {

using ::testing::ElementsAre;

TEST_F(EditorTest, StartsWithTheTagRulesAndABlankPreview) {
    EXPECT_EQ(editor->windowTitle(), "Larkspur[*]");
    ASSERT_EQ(editor->RuleListBox()->count(), 56);
    EXPECT_EQ(editor->RuleListBox()->accessibleName(), "Rules");
    EXPECT_EQ(editor->RuleListBox()->currentRow(), 0);
    EXPECT_EQ(Doc().SelectedIndex(), 0);
    EXPECT_TRUE(CodeLines().empty());
    EXPECT_FALSE(Doc().Modified());
    ExpectViewsInStep();

    std::vector<std::string> tabs;
    for (int i = 0; i < editor->PropertySheet()->count(); ++i)
        tabs.push_back(editor->PropertySheet()->tabText(i).toStdString());
    EXPECT_EQ(tabs.size(), 7u);
    EXPECT_EQ(editor->ViewSheet()->tabText(0), "Preview");
    EXPECT_EQ(editor->ViewSheet()->tabText(1), "Code");
    EXPECT_EQ(editor->CodePage()->List()->accessibleName(), "Code");

    // The browser was made in the constructor, before the fixture cleared the log.
    BrowserLog log;
    FakeDialogs quiet;
    CEditorDlg fresh(quiet, settings, desktop, FakeBrowserFactory(log));
    EXPECT_THAT(log.calls, ElementsAre("Stop", "Navigate about:blank"));
    EXPECT_TRUE(quiet.asked.empty());
}

TEST_F(EditorTest, ToolbarHoldsTheCommandsInOrderWithTheirTipsAndKeys) {
    auto* toolbar = qobject_cast<CToolBarEx*>(editor->Toolbar());
    ASSERT_NE(toolbar, nullptr);
    // Two commands have no key; Tab must reach the bar and its buttons.
    EXPECT_TRUE(toolbar->focusPolicy() & Qt::TabFocus);
    std::vector<std::string> entries;
    for (QAction* action : toolbar->actions()) {
        if (action->isSeparator()) {
            entries.push_back("|");
            continue;
        }
        EXPECT_FALSE(action->icon().isNull());
        entries.push_back(action->toolTip().toStdString() + " [" +
                          action->shortcut().toString().toStdString() + "]");
    }
    EXPECT_THAT(entries,
                ElementsAre("New Style Sheet [Ctrl+N]", "Open an existing style sheet [Ctrl+O]", "Save [Ctrl+S]",
                            "Save As [F12]", "Saves the current style into more than one page []", "|",
                            "Create a new tag or class [Ctrl+Shift+N]", "Copies the currently selected tag [Ctrl+C]",
                            "Renames the currently selected tag [Ctrl+R]",
                            "Clears the currently selected tag [Ctrl+Shift+Del]",
                            "Deletes the currently selected tag [Del]", "|",
                            "Load a page into the editor and preview [Ctrl+B]",
                            "Refreshes the currently previewed page [Ctrl+Shift+R]",
                            "Changes the page in the preview [F10]", "|", "Help [F1]"));
}

TEST_F(EditorTest, ViewSheetGrowsWithTheWindowAndThePropertySheetKeepsItsSize) {
    // Start from a size the layout can honour whatever the pages need.
    const QSize start = editor->minimumSizeHint().expandedTo(QSize(900, 600));
    editor->resize(start);
    editor->show();
    const QSize sheet = editor->PropertySheet()->size();
    const QSize view = editor->ViewSheet()->size();
    const QSize rules = editor->RuleListBox()->size();
    editor->resize(start + QSize(300, 200));
    QApplication::processEvents();
    EXPECT_EQ(editor->PropertySheet()->size(), sheet);
    EXPECT_EQ(editor->ViewSheet()->width(), view.width() + 300);
    EXPECT_EQ(editor->ViewSheet()->height(), view.height() + 200);
    EXPECT_EQ(editor->RuleListBox()->width(), rules.width());
    EXPECT_EQ(editor->Toolbar()->y(), editor->MenuBar()->geometry().bottom() + 1);
    EXPECT_EQ(editor->StatusBar()->geometry().bottom(), editor->rect().bottom());
    editor->hide();
}

TEST_F(EditorTest, DevelopingChoiceIsReadAtStartAndHiddenAway) {
    for (int stored : {0, 2, 7, -1}) {
        SCOPED_TRACE(stored);
        settings.ints["Settings/Developing"] = stored;
        MakeEditor();
        QComboBox* combo = editor->DevelopingCombo();
        EXPECT_FALSE(combo->isVisibleTo(editor.get()));
        EXPECT_FALSE(combo->isEnabled());
        EXPECT_EQ(combo->currentIndex(), stored >= 0 && stored <= 2 ? stored : 0);
    }
}

// ---- listing after checking and selecting ----

TEST_F(EditorTest, ACheckTakesEffectAtOnceWhetherOrNotTheRuleIsSelected) {
    const std::string body = Doc().Rules()[0].selector;
    const std::string h3 = Doc().Rules()[3].selector;
    Check(3);  // ticked, not selected
    EXPECT_THAT(CodeLines(), ElementsAre(h3 + " {", "}"));
    EXPECT_TRUE(Doc().Modified());
    Check(0);  // ticked, selected
    EXPECT_THAT(CodeLines(), ElementsAre(body + " {", "}", h3 + " {", "}"));
    Select(3);  // selecting changes nothing more
    Select(0);
    EXPECT_THAT(CodeLines(), ElementsAre(body + " {", "}", h3 + " {", "}"));
    Check(0, false);  // unticked while selected
    EXPECT_THAT(CodeLines(), ElementsAre(h3 + " {", "}"));
    Check(3, false);  // unticked, not selected
    EXPECT_TRUE(CodeLines().empty());
    ExpectViewsInStep();
}

TEST_F(EditorTest, ClickingACheckBoxOfAnotherRuleListsItAtOnce) {
    editor->show();
    CRuleCheckList* list = editor->RuleListBox();
    const QRect item = list->RuleRect(2);
    QPoint onBox;
    for (int x = item.left(); x < item.right() && onBox.isNull(); ++x)
        if (list->IsOnCheckBox(QPoint(x, item.center().y()))) onBox = QPoint(x, item.center().y());
    ASSERT_FALSE(onBox.isNull());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, onBox);
    EXPECT_EQ(list->currentRow(), 2);
    EXPECT_TRUE(list->IsChecked(2));
    EXPECT_THAT(CodeLines(), ElementsAre(Doc().Rules()[2].selector + " {", "}"));

    // A click on the text selects without touching the mark.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->RuleRect(4).center());
    EXPECT_EQ(list->currentRow(), 4);
    EXPECT_FALSE(list->IsChecked(4));
    ExpectViewsInStep();
    editor->hide();
}

TEST_F(EditorTest, SpaceTogglesTheMarkOfTheCurrentRule) {
    editor->RuleListBox()->setFocus();
    QTest::keyClick(editor->RuleListBox(), Qt::Key_Space);
    EXPECT_TRUE(Doc().IsChecked(0));
    EXPECT_TRUE(editor->RuleListBox()->IsChecked(0));
    QTest::keyClick(editor->RuleListBox(), Qt::Key_Space);
    EXPECT_FALSE(Doc().IsChecked(0));
}

}  // namespace
}  // namespace larkspur::testing
