// Save on a file the user may not write: nothing is replaced, and the window
// offers Save As. Alike for sheets and pages.
#include <QTemporaryDir>

#include <sys/stat.h>

#include "editor_fixture.h"

namespace larkspur::testing {
namespace {

using ::testing::ElementsAre;

TEST_F(EditorTest, SaveOnAReadOnlyFileOffersSaveAs) {
    QTemporaryDir dir;
    for (const char* name : {"sheet.css", "page.html"}) {
        SCOPED_TRACE(name);
        const bool css = std::string(name) == "sheet.css";
        const std::string path = dir.filePath(name).toStdString();
        const std::string old = css ? "H1 { color: red }" : "<head><style>H1{color:red}</style></head>";
        WriteText(path, old);
        ::chmod(path.c_str(), 0444);
        dialogs.openFiles.push_back(path);
        editor->OnOpen();
        Declare(2, kColor, "blue");
        dialogs.Clear();

        // No: nothing written, the sheet stays changed.
        dialogs.answers.push_back(Answer::No);
        editor->OnSave();
        EXPECT_THAT(dialogs.Transcript(),
                    ElementsAre("YesNo: Larkspur: Cannot write \"" + path +
                                "\": the file is read-only\n\nSave the sheet under another name?"));
        EXPECT_EQ(ReadText(path), old);
        EXPECT_TRUE(Doc().Modified());

        // Yes: Save As to another file, which becomes the current one.
        const std::string other = dir.filePath(css ? "copy.css" : "copy.html").toStdString();
        dialogs.Clear();
        dialogs.answers.push_back(Answer::Yes);
        dialogs.saveAsKinds.push_back(css ? 1 : 2);
        dialogs.saveFiles.push_back(other);
        editor->OnSave();
        EXPECT_EQ(ReadText(path), old);
        EXPECT_NE(ReadText(other).find("blue"), std::string::npos);
        EXPECT_EQ(editor->CurrentFile(), other);
        EXPECT_FALSE(Doc().Modified());
    }
}

}  // namespace
}  // namespace larkspur::testing
