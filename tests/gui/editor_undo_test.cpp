// Undo and redo in the window: every change to the sheet comes back exactly.
#include <QAction>
#include <QLineEdit>
#include <QTemporaryDir>

#include "controls/property_edit.h"
#include "editor_fixture.h"
#include "page_driving.h"
#include "pages/font_page.h"

namespace larkspur::testing {
namespace {

// What the user can see of the sheet, and what Save would write.
struct SheetView {
    std::vector<std::string> listing;
    std::vector<std::string> code;
    std::vector<std::string> names;
    std::vector<bool> checks;
    std::string file;
    bool operator==(const SheetView&) const = default;
};

class UndoTest : public EditorTest {
protected:
    SheetView View() {
        SheetView v{ListingLines(), CodeLines(), RuleNames(), {}, Doc().StyleSheetText()};
        for (int i = 0; i < Doc().RuleCount(); ++i) v.checks.push_back(editor->RuleListBox()->IsChecked(i));
        return v;
    }
    void ClickFont(int id) { Click(FontPage(), id); }
    // The font size typed key by key into the Value box.
    void TypeFontSize(const QString& text) { Retype(FontPage().Edit(CFontPage::kValueEdit), text); }
    QString UndoText() { return editor->CommandAction(kCmdUndo)->text(); }
    QString RedoText() { return editor->CommandAction(kCmdRedo)->text(); }
    void Undo() { editor->CommandAction(kCmdUndo)->trigger(); }
    void Redo() { editor->CommandAction(kCmdRedo)->trigger(); }
    std::string Save(const char* name) {
        const std::string path = dir.filePath(QString::fromLatin1(name)).toStdString();
        dialogs.saveAsKinds.push_back(1);
        dialogs.saveFiles.push_back(path);
        editor->OnSaveAs();
        return ReadText(path);
    }
    QTemporaryDir dir;
};

TEST_F(UndoTest, MixedChangesUndoToTheStartAndRedoToTheEndStepByStep) {
    Declare(1, kColor, "red");
    ListRow(4);
    const std::string startFile = Save("start.css");
    std::vector<SheetView> states{View()};
    std::vector<QString> labels;
    auto step = [&](const std::function<void()>& change) {
        change();
        labels.push_back(UndoText());
        states.push_back(View());
    };
    step([&] { ClickFont(CFontPage::kSize); });
    step([&] { ClickFont(CFontPage::kValue); });
    step([&] { TypeFontSize("14"); });
    step([&] { Check(6); });
    step([&] {
        dialogs.newRules.push_back(NewRuleChoice{"note", 1});
        editor->OnNewRule();
    });
    step([&] { ClickFont(CFontPage::kSize); });
    step([&] {
        dialogs.renames.push_back("aside");
        editor->OnRenameRule();
    });
    step([&] {
        Select(1);
        dialogs.copyTargets.push_back(4);
        editor->OnCopyRule();
    });
    step([&] {
        Select(4);
        editor->OnClearRule();
    });
    step([&] {
        Select(1);
        dialogs.answers.push_back(Answer::Yes);
        editor->OnDeleteRule();
    });
    step([&] { Check(3, false); });
    for (size_t i = 1; i < states.size(); ++i) ASSERT_NE(states[i], states[i - 1]) << "step " << i;
    EXPECT_EQ(labels[0], "Undo Change Font of " + QString::fromStdString(states[0].names[4]));
    EXPECT_EQ(labels[8], "Undo Clear " + QString::fromStdString(states[8].names[4]));

    for (size_t i = states.size() - 1; i > 0; --i) {
        SCOPED_TRACE("undo step " + std::to_string(i));
        EXPECT_EQ(UndoText(), labels[i - 1]);
        Undo();
        EXPECT_EQ(View(), states[i - 1]);
        ExpectViewsInStep();
    }
    EXPECT_TRUE(editor->CommandAction(kCmdUndo)->isEnabled());  // what came before the save
    EXPECT_FALSE(Doc().Modified());
    EXPECT_EQ(Save("undone.css"), startFile);
    for (size_t i = 1; i < states.size(); ++i) {
        SCOPED_TRACE("redo step " + std::to_string(i));
        Redo();
        EXPECT_EQ(View(), states[i]);
        ExpectViewsInStep();
    }
    EXPECT_FALSE(editor->CommandAction(kCmdRedo)->isEnabled());
}

TEST_F(UndoTest, TypingInOneBoxIsOneStepAndThePagesFollow) {
    ListRow(2);
    ClickFont(CFontPage::kSize);
    ClickFont(CFontPage::kValue);
    TypeFontSize("12");
    const SheetView before = View();
    TypeFontSize("140");
    EXPECT_THAT(CodeLines()[1], ::testing::StartsWith("font-size: 140"));
    Undo();
    EXPECT_EQ(View(), before);
    EXPECT_EQ(Text(FontPage(), CFontPage::kValueEdit), "12");
    Redo();
    EXPECT_THAT(CodeLines()[1], ::testing::StartsWith("font-size: 140"));
    EXPECT_EQ(Text(FontPage(), CFontPage::kValueEdit), "140");
    // Typing again after an undo starts a step of its own.
    Undo();
    TypeFontSize("9");
    Undo();
    EXPECT_EQ(View(), before);
}

TEST_F(UndoTest, UndoingBackToTheSavedStateClearsModified) {
    Declare(1, kColor, "red");
    Save("a.css");
    EXPECT_FALSE(Doc().Modified());
    Declare(1, kColor, "blue");
    EXPECT_TRUE(Doc().Modified());
    Undo();
    EXPECT_FALSE(Doc().Modified());
    dialogs.Clear();
    EXPECT_TRUE(editor->close());  // nothing to save: no question
    EXPECT_TRUE(dialogs.asked.empty());
    Undo();
    EXPECT_TRUE(Doc().Modified());
    Redo();
    EXPECT_FALSE(Doc().Modified());
    Redo();
    EXPECT_TRUE(Doc().Modified());
}

TEST_F(UndoTest, NewAndOpenStartAFreshHistorySaveDoesNot) {
    Declare(1, kColor, "red");
    Save("b.css");
    EXPECT_TRUE(editor->CommandAction(kCmdUndo)->isEnabled());
    dialogs.openFiles.push_back(dir.filePath("b.css").toStdString());
    editor->OnOpen();
    EXPECT_FALSE(editor->CommandAction(kCmdUndo)->isEnabled());
    EXPECT_EQ(UndoText(), "Undo");
    Declare(2, kColor, "blue");
    dialogs.answers.push_back(Answer::No);
    editor->OnNewSheet();
    EXPECT_FALSE(editor->CommandAction(kCmdUndo)->isEnabled());
    EXPECT_FALSE(editor->CommandAction(kCmdRedo)->isEnabled());
}


}  // namespace
}  // namespace larkspur::testing
