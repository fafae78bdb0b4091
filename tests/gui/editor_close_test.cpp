#include <QTemporaryDir>
#include <fstream>

#include "editor_fixture.h"

namespace larkspur::testing {
namespace {

using ::testing::ElementsAre;

enum class CloseWay { CloseBox, QuitKey, Accept, ApplicationQuit, CloseAllWindows };

const char* Name(CloseWay way) {
    switch (way) {
    case CloseWay::CloseBox: return "CloseBox";
    case CloseWay::QuitKey: return "QuitKey";
    case CloseWay::Accept: return "Accept";
    case CloseWay::ApplicationQuit: return "ApplicationQuit";
    case CloseWay::CloseAllWindows: return "CloseAllWindows";
    }
    return "";
}

class ClosePaths : public EditorTest, public ::testing::WithParamInterface<CloseWay> {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        editor->show();
        editor->RuleListBox()->setFocus();
    }
    void TearDown() override { SetFileWriteHook({}); }

    // Asks the window to close the chosen way; true when it closed.
    bool RequestClose() {
        switch (GetParam()) {
        case CloseWay::CloseBox: editor->close(); break;
        case CloseWay::QuitKey:
            QApplication::setActiveWindow(editor.get());
            EXPECT_TRUE(QTest::qWaitForWindowActive(editor.get()));
            QTest::keyClick(editor->RuleListBox(), Qt::Key_Q, Qt::ControlModifier);
            break;
        case CloseWay::Accept: editor->accept(); break;
        case CloseWay::ApplicationQuit: {
            QEvent quit(QEvent::Quit);
            QCoreApplication::sendEvent(qApp, &quit);
            break;
        }
        case CloseWay::CloseAllWindows: QApplication::closeAllWindows(); break;
        }
        return !editor->isVisible();
    }
};

TEST_P(ClosePaths, UnchangedSheetClosesAtOnceAfterStoringTheChoice) {
    settings.ints["Settings/Developing"] = 2;
    MakeEditor();
    editor->show();
    EXPECT_TRUE(RequestClose());
    EXPECT_TRUE(dialogs.asked.empty());
    EXPECT_THAT(settings.writes, ElementsAre("Settings/Developing=2"));
}

TEST_P(ClosePaths, ChangedSheetAsksAndCancelKeepsTheWindowOpen) {
    Declare(1, kColor, "red");
    dialogs.answers.push_back(Answer::Cancel);
    EXPECT_FALSE(RequestClose());
    EXPECT_THAT(dialogs.Transcript(), ElementsAre("YesNoCancel: Save Changes: Do you want to save your changes"));
    EXPECT_THAT(dialogs.defaults, ElementsAre(Answer::Cancel));  // Enter neither saves nor discards
    EXPECT_TRUE(Doc().Modified());

    dialogs.answers.push_back(Answer::No);
    EXPECT_TRUE(RequestClose());
    EXPECT_EQ(dialogs.Count("YesNoCancel"), 2);
    EXPECT_EQ(settings.writes.size(), 2u);  // the choice, each time; the rule list was not moved
}

TEST_P(ClosePaths, YesSavesFirstAndAFailedSaveKeepsTheWindowOpen) {
    QTemporaryDir dir;
    const std::string path = dir.filePath("s.css").toStdString();
    Declare(1, kColor, "red");

    // Yes, then Save As cancelled: nothing was saved, so the window stays.
    dialogs.answers.push_back(Answer::Yes);
    EXPECT_FALSE(RequestClose());
    EXPECT_EQ(dialogs.Count("SaveAsKind"), 1);

    // Yes, and the write fails.
    dialogs.answers.push_back(Answer::Yes);
    dialogs.saveAsKinds.push_back(1);
    dialogs.saveFiles.push_back(path);
    SetFileWriteHook([](int, const char*, std::size_t) -> long { return -1; });
    EXPECT_FALSE(RequestClose());
    EXPECT_EQ(dialogs.Messages().size(), 1u);
    SetFileWriteHook({});

    // Yes, and the sheet is written.
    dialogs.answers.push_back(Answer::Yes);
    dialogs.saveAsKinds.push_back(1);
    dialogs.saveFiles.push_back(path);
    EXPECT_TRUE(RequestClose());
    std::ifstream in(path, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), Doc().StyleSheetText());
}

INSTANTIATE_TEST_SUITE_P(Ways, ClosePaths,
                         ::testing::Values(CloseWay::CloseBox, CloseWay::QuitKey, CloseWay::Accept,
                                           CloseWay::ApplicationQuit, CloseWay::CloseAllWindows),
                         [](const auto& info) { return std::string(Name(info.param)); });

}  // namespace
}  // namespace larkspur::testing
