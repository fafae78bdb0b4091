#include <QComboBox>
#include <QLineEdit>
#include <QListView>
#include <QStatusBar>

#include "editor_fixture.h"
#include "pages/property_page.h"

namespace larkspur::testing {
namespace {

struct KeyCase {
    const char* keys;
    CommandId command;
    bool editsText;  // an edit box keeps this key for itself
};

constexpr KeyCase kKeys[] = {
    {"Ctrl+N", kCmdNewSheet, false},       {"Ctrl+O", kCmdOpen, false},
    {"Ctrl+S", kCmdSave, false},           {"F12", kCmdSaveAs, false},
    {"Ctrl+Shift+N", kCmdNewRule, false},  {"Ctrl+C", kCmdCopyRule, true},
    {"Ctrl+R", kCmdRenameRule, false},     {"Ctrl+Shift+Delete", kCmdClearRule, false},
    {"Delete", kCmdDeleteRule, true},      {"Ctrl+B", kCmdLoadPage, false},
    {"Ctrl+Shift+R", kCmdRefreshPreview, false}, {"F10", kCmdChangePreview, false},
};

class Shortcuts : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        QWidget* page = editor->Pages().front();
        edit = new QLineEdit(page);
        combo = new QComboBox(page);
        combo->setEditable(true);
        for (const EditorCommand& command : EditorCommands())
            if (QAction* action = editor->CommandAction(command.id))
                QObject::connect(action, &QAction::triggered, [this, id = command.id] { fired.push_back(id); });
        editor->show();
        QApplication::setActiveWindow(editor.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(editor.get()));
    }

    // The commands the key ran with the focus on the widget.
    std::vector<int> Press(QWidget* target, const char* keys) {
        target->setFocus();
        fired.clear();
        const QKeySequence sequence(QString::fromLatin1(keys));
        QTest::keySequence(target, sequence);
        return fired;
    }

    QLineEdit* edit = nullptr;
    QComboBox* combo = nullptr;
    std::vector<int> fired;
};

TEST_F(Shortcuts, EveryKeyRunsItsCommandFromTheRuleList) {
    for (const KeyCase& k : kKeys) {
        SCOPED_TRACE(k.keys);
        EXPECT_EQ(Press(editor->RuleListBox(), k.keys), std::vector<int>{k.command});
    }
}

TEST_F(Shortcuts, EditBoxesKeepTheTextEditingKeysAndPassTheRest) {
    editor->Pages().front()->show();
    editor->PropertySheet()->setCurrentIndex(0);
    for (QWidget* target : {static_cast<QWidget*>(edit), static_cast<QWidget*>(combo)})
        for (const KeyCase& k : kKeys) {
            SCOPED_TRACE(std::string(target->metaObject()->className()) + " " + k.keys);
            const std::vector<int> expected = k.editsText ? std::vector<int>{} : std::vector<int>{k.command};
            EXPECT_EQ(Press(target, k.keys), expected);
        }
}

TEST_F(Shortcuts, DeleteAndUndoEditTheTextInAnEditBox) {
    editor->PropertySheet()->setCurrentIndex(0);
    for (QLineEdit* line : {edit, combo->lineEdit()}) {
        SCOPED_TRACE(line == edit ? "edit" : "combo");
        line->setText("12pt");
        line->setCursorPosition(0);
        Press(line == edit ? static_cast<QWidget*>(edit) : combo, "Delete");
        EXPECT_EQ(line->text(), "2pt");
        Press(line == edit ? static_cast<QWidget*>(edit) : combo, "Ctrl+Z");
        EXPECT_EQ(line->text(), "12pt");
    }
    EXPECT_EQ(Doc().RuleCount(), 56);
    EXPECT_EQ(dialogs.Count("YesNo"), 0);
}

TEST_F(Shortcuts, ReadOnlyEditLeavesUndoToTheWindow) {
    edit->setReadOnly(true);
    Check(1);  // a step to undo
    EXPECT_EQ(Press(edit, "Ctrl+Z"), std::vector<int>{kCmdUndo});
    EXPECT_EQ(Press(edit, "Delete"), std::vector<int>{kCmdDeleteRule});
}


// What each key does to the sheet, by where the focus is. Every case starts
// from two changes to one listed rule with the second undone, so both Undo
// and Redo have a step to take.
enum class Focus { RuleList, EditBox, CodePage, Toolbar };
enum class Effect { Nothing, Undo, Redo, DeleteRule, ClearRule, Uncheck };

struct KeyEffect {
    const char* keys;
    Focus focus;
    Effect effect;
};

constexpr KeyEffect kEffects[] = {
    {"Ctrl+Z", Focus::RuleList, Effect::Undo},
    {"Ctrl+Z", Focus::EditBox, Effect::Nothing},  // the box's own undo
    {"Ctrl+Z", Focus::CodePage, Effect::Undo},
    {"Ctrl+Shift+Z", Focus::RuleList, Effect::Redo},
    {"Ctrl+Shift+Z", Focus::EditBox, Effect::Nothing},
    {"Ctrl+Shift+Z", Focus::CodePage, Effect::Redo},
    {"Ctrl+Y", Focus::RuleList, Effect::Redo},
    {"Ctrl+Y", Focus::EditBox, Effect::Nothing},
    {"Ctrl+Y", Focus::CodePage, Effect::Redo},
    {"Alt+Backspace", Focus::RuleList, Effect::Undo},
    {"Alt+Backspace", Focus::EditBox, Effect::Nothing},
    {"Alt+Backspace", Focus::CodePage, Effect::Undo},
    {"Shift+Alt+Backspace", Focus::RuleList, Effect::Redo},
    {"Shift+Alt+Backspace", Focus::CodePage, Effect::Redo},
    {"Delete", Focus::RuleList, Effect::DeleteRule},
    {"Delete", Focus::EditBox, Effect::Nothing},  // deletes a character
    {"Delete", Focus::CodePage, Effect::Nothing},
    {"Delete", Focus::Toolbar, Effect::Nothing},
    {"Ctrl+Shift+Delete", Focus::RuleList, Effect::ClearRule},
    {"Ctrl+Shift+Delete", Focus::EditBox, Effect::ClearRule},
    {"Ctrl+Shift+Delete", Focus::CodePage, Effect::ClearRule},
    {"Escape", Focus::RuleList, Effect::Nothing},
    {"Escape", Focus::EditBox, Effect::Nothing},
    {"Escape", Focus::CodePage, Effect::Nothing},
    {"Space", Focus::RuleList, Effect::Uncheck},
    {"Space", Focus::EditBox, Effect::Nothing},
    {"Space", Focus::CodePage, Effect::Nothing},
};

TEST_F(Shortcuts, EachKeyInEachFocusDoesWhatItSaysToTheSheet) {
    const int row = 1;
    const std::string rule = Doc().Rule(row).selector;
    const std::vector<std::string> header{rule + " {", "}"};
    const std::vector<std::string> first{rule + " {", "color: red;", "}"};
    const std::vector<std::string> both{rule + " {", "font-size: 9pt;", "color: red;", "}"};
    for (const KeyEffect& k : kEffects) {
        const char* focus[] = {"rule list", "edit box", "Code page", "toolbar"};
        SCOPED_TRACE(std::string(k.keys) + " in the " + focus[static_cast<int>(k.focus)]);
        SetUp();  // a fresh window
        ListRow(row);
        for (auto [property, value] : {std::pair{kColor, "red"}, std::pair{kFontSize, "9pt"}}) {
            editor->BeginChange("Font", 0);
            Doc().SetValue(row, property, value);
            editor->EndChange();
        }
        editor->OnUndo();
        ASSERT_EQ(ListingLines(), first);
        editor->ViewSheet()->setCurrentWidget(editor->CodePage());
        QWidget* target = k.focus == Focus::RuleList  ? static_cast<QWidget*>(editor->RuleListBox())
                          : k.focus == Focus::EditBox ? static_cast<QWidget*>(edit)
                          : k.focus == Focus::Toolbar ? editor->Toolbar()
                                                      : editor->CodePage()->List();
        if (k.focus == Focus::EditBox) editor->PropertySheet()->setCurrentIndex(0);
        dialogs.answers.push_back(Answer::Yes);  // for the one question that may come
        Press(target, k.keys);

        EXPECT_TRUE(editor->isVisible());
        EXPECT_EQ(QApplication::focusWidget(), target);
        const bool deleted = k.effect == Effect::DeleteRule;
        EXPECT_EQ(dialogs.Transcript(), deleted ? std::vector<std::string>{"YesNo: Confirm Delete: Delete "
                                                                           "currently selected Tag? " + rule}
                                                : std::vector<std::string>{});
        EXPECT_EQ(Doc().RuleCount(), deleted ? 55 : 56);
        if (deleted) continue;
        EXPECT_EQ(Doc().IsChecked(row), k.effect != Effect::Uncheck);
        switch (k.effect) {
        case Effect::Nothing: EXPECT_EQ(ListingLines(), first); break;
        case Effect::Undo: EXPECT_EQ(ListingLines(), header); break;
        case Effect::Redo: EXPECT_EQ(ListingLines(), both); break;
        case Effect::ClearRule:
            EXPECT_EQ(ListingLines(), header);
            EXPECT_EQ(editor->CommandAction(kCmdUndo)->text().toStdString(), "Undo Clear " + rule);
            break;
        case Effect::Uncheck:
            EXPECT_TRUE(ListingLines().empty());
            EXPECT_EQ(editor->StatusBar()->currentMessage().toStdString(), rule + " taken out of the sheet");
            break;
        case Effect::DeleteRule: break;
        }
    }
}

// ".btn " finds a rule; the space is part of the search, not a tick.
TEST_F(Shortcuts, SpaceWhileTypingAheadSearchesAndAfterAPauseTicks) {
    const int interval = QApplication::keyboardInputInterval();
    QApplication::setKeyboardInputInterval(300);
    for (const char* selector : {".btn", ".btn-primary"}) {
        const int index = Doc().AppendRule(selector);
        Check(index);
    }
    CRuleCheckList* list = editor->RuleListBox();
    list->setFocus();
    list->setCurrentRow(0);
    const int btn = Doc().FindRule(".btn");
    QTest::keyClicks(list, ".btn ");
    EXPECT_EQ(list->currentRow(), btn);
    for (int row = 0; row < Doc().RuleCount(); ++row)
        EXPECT_EQ(Doc().IsChecked(row), row >= btn) << Doc().Rule(row).selector;

    QTest::qWait(QApplication::keyboardInputInterval() + 100);
    QTest::keyClick(list, Qt::Key_Space);
    EXPECT_FALSE(Doc().IsChecked(btn));
    EXPECT_TRUE(Doc().IsChecked(btn + 1));
    QApplication::setKeyboardInputInterval(interval);
}

}  // namespace
}  // namespace larkspur::testing
