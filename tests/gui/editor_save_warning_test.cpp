// A sheet saved whose folder cannot then be flushed to disk: the window says
// it was saved, and the sheet counts as saved. The failure is injected by a
// second run of this test with the fail_calls library preloaded.
#include <QCoreApplication>
#include <QTemporaryDir>

#include <cstdlib>

#include "editor_fixture.h"

namespace larkspur::testing {
namespace {

TEST_F(EditorTest, SaveWhoseFolderCannotBeFlushedSaysItWasSaved) {
    const char* folder = std::getenv("LARKSPUR_FAIL_PATH");
    if (!folder) {
        QTemporaryDir dir;
        const std::string command =
            "LD_PRELOAD='" LARKSPUR_FAIL_CALLS_PATH "' LARKSPUR_FAIL_CALL=dirsync LARKSPUR_FAIL_PATH='" +
            dir.path().toStdString() + "' ASAN_OPTIONS=\"$ASAN_OPTIONS:verify_asan_link_order=0\" '" +
            QCoreApplication::applicationFilePath().toStdString() +
            "' --gtest_filter=EditorTest.SaveWhoseFolderCannotBeFlushedSaysItWasSaved >/dev/null 2>&1";
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        return;
    }
    const std::string path = std::string(folder) + "/sheet.css";
    Declare(1, kColor, "red");
    dialogs.saveAsKinds.push_back(1);
    dialogs.saveFiles.push_back(path);
    editor->OnSave();
    ASSERT_EQ(dialogs.Messages().size(), 1u);
    EXPECT_EQ(dialogs.Messages()[0].rfind("Saved \"" + path + "\", but its folder could not be flushed", 0), 0u);
    EXPECT_EQ(ReadText(path), Doc().StyleSheetText());
    EXPECT_FALSE(Doc().Modified());
}

}  // namespace
}  // namespace larkspur::testing
