#include <QComboBox>
#include <QLineEdit>

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
    {"Ctrl+R", kCmdRenameRule, false},     {"Ctrl+Z", kCmdClearRule, true},
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
    EXPECT_EQ(Press(edit, "Ctrl+Z"), std::vector<int>{kCmdClearRule});
    EXPECT_EQ(Press(edit, "Delete"), std::vector<int>{kCmdDeleteRule});
}

}  // namespace
}  // namespace larkspur::testing
