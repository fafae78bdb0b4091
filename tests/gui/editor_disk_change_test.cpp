#include <QStatusBar>
#include <cstdio>
#include <filesystem>

#include "editor_fixture.h"
#include "platform/qt_file_watcher.h"

namespace larkspur::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

constexpr const char* kRead = "H1 {\ncolor: red;\n}\n";
constexpr const char* kTheirs = "H1 {\ncolor: green;\n}\n";

class DiskChange : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        path = dir.filePath(QStringLiteral("ext.css")).toStdString();
        WriteText(path, kRead);
        ASSERT_TRUE(editor->OpenFile(path));
        dialogs.Clear();
    }
    // Another program writes the file as editors do: a new file renamed over it.
    void TheyWrite(const std::string& text) {
        const std::string next = path + ".new";
        WriteText(next, text);
        std::filesystem::rename(next, path);
        watcher->Fire(path);
    }
    void EditTheSheet() {
        Doc().SetSelectedIndex(Doc().FindRule("H1"));
        Declare(Doc().FindRule("H1"), kFontSize, "12pt");
        ASSERT_TRUE(Doc().Modified());
    }
    std::string Said(const char* what) { return "\"" + path + "\" " + what; }

    QTemporaryDir dir;
    std::string path;
};

TEST_F(DiskChange, TheOpenSheetIsWatchedUntilAnotherTakesItsPlace) {
    EXPECT_THAT(watcher->watched, ElementsAre(path));
    editor->OnNewSheet();
    EXPECT_TRUE(watcher->watched.empty());
    EXPECT_THAT(watcher->calls.back(), "unwatch " + path);
}

// Clean sheet: one question, Yes reads the file again; No keeps the sheet,
// is not asked again for the same change, and Save then asks first.
TEST_F(DiskChange, ACleanSheetOffersToReload) {
    for (const Answer answer : {Answer::No, Answer::Yes}) {
        SCOPED_TRACE(answer == Answer::Yes ? "reload" : "keep");
        ASSERT_TRUE(editor->OpenFile(path));
        dialogs.Clear();
        watcher->calls.clear();
        dialogs.answers = {answer};
        TheyWrite(answer == Answer::Yes ? kTheirs : "H2 {\n}\n");
        EXPECT_THAT(dialogs.Transcript(),
                    ElementsAre("YesNo: Larkspur: " + Said("was changed by another program.\n\nReload it?")));
        EXPECT_EQ(dialogs.defaults, std::vector<Answer>{Answer::Yes});
        EXPECT_FALSE(Doc().Modified());
        // Watched again: the rename put a new file at the path.
        EXPECT_THAT(watcher->calls, ::testing::Contains("watch " + path));
        watcher->Fire(path);
        EXPECT_EQ(dialogs.asked.size(), 1u);
        if (answer == Answer::Yes) {
            EXPECT_THAT(CodeLines(), ElementsAre("H1 {", "color: green;", "}"));
            editor->OnSave();
            EXPECT_EQ(dialogs.asked.size(), 1u) << "the file is as read again";
        } else {
            EXPECT_THAT(CodeLines(), ElementsAre("H1 {", "color: red;", "}"));
            editor->OnSave();  // answered No: the other program's file stays
            EXPECT_EQ(dialogs.asked.back(),
                      (AskedQuestion{"YesNo", "Larkspur",
                                     Said("was changed by another program since it was read.\n\nSave over it?")}));
            EXPECT_EQ(ReadText(path), "H2 {\n}\n");
        }
    }
}

// With unsaved edits: Show Difference, then Keep Mine; Save asks before it
// writes over their file, No keeps it and the sheet stays unsaved.
TEST_F(DiskChange, UnsavedEditsAreKeptShownAndSavedOnlyWhenSaid) {
    EditTheSheet();
    const std::string mine = Doc().StyleSheetText();
    dialogs.choices = {1, 2};
    TheyWrite(kTheirs);
    const std::string question = Said(
        "was changed by another program.\n\nReload it and lose your changes, or keep yours? "
        "[&Reload|Show &Difference|&Keep Mine*]");
    EXPECT_THAT(dialogs.Transcript(),
                ElementsAre("Choice: Larkspur: " + question,
                            "Text: Difference: - on disk\n+ in the window\n\n--- ext.css\n+++ ext.css\n"
                            "@@ -1,3 +1,4 @@\n H1 {\n-color: green;\n+color: red;\n+font-size: 12pt;\n }\n",
                            "Choice: Larkspur: " + question));
    EXPECT_EQ(Doc().StyleSheetText(), mine);
    EXPECT_TRUE(Doc().Modified());

    dialogs.Clear();
    dialogs.answers = {Answer::No, Answer::Yes};
    editor->OnSave();
    EXPECT_EQ(ReadText(path), kTheirs);
    EXPECT_TRUE(Doc().Modified());
    editor->OnSave();
    EXPECT_EQ(ReadText(path), mine);
    EXPECT_FALSE(Doc().Modified());
    EXPECT_EQ(dialogs.Count("YesNo"), 2);
    EXPECT_EQ(dialogs.defaults, (std::vector<Answer>{Answer::No, Answer::No}));
    // Our own save is no change to report, nor a file touched with the same bytes.
    watcher->Fire(path);
    std::filesystem::last_write_time(path, std::filesystem::last_write_time(path) + std::chrono::seconds(5));
    watcher->Fire(path);
    EXPECT_EQ(dialogs.asked.size(), 2u);
}

TEST_F(DiskChange, ReloadDropsTheEditsAndTheirRecoveryFile) {
    EditTheSheet();
    ASSERT_TRUE(editor->Recovery().Keep());
    ASSERT_TRUE(FileExists(editor->Recovery().FilePath()));
    dialogs.choices = {0};
    TheyWrite(kTheirs);
    EXPECT_THAT(CodeLines(), ElementsAre("H1 {", "color: green;", "}"));
    EXPECT_FALSE(Doc().Modified());
    EXPECT_FALSE(FileExists(editor->Recovery().FilePath()));
    editor->History().Stack().undo();
    EXPECT_FALSE(Doc().Modified()) << "reloading starts a fresh history";
}

// Gone, by delete or by a move: said once, the sheet counts as unsaved (so
// closing offers to save it), and Save writes the file anew without asking.
TEST_F(DiskChange, AFileDeletedOrMovedAwayIsReportedAndSavedAnew) {
    for (const bool moved : {false, true}) {
        SCOPED_TRACE(moved ? "moved" : "deleted");
        WriteText(path, kRead);
        ASSERT_TRUE(editor->OpenFile(path));
        dialogs.Clear();
        if (moved)
            std::filesystem::rename(path, path + ".elsewhere");
        else
            std::filesystem::remove(path);
        watcher->Fire(path);
        watcher->Fire(path);
        EXPECT_THAT(dialogs.Transcript(),
                    ElementsAre("Message: Larkspur: " + Said("was deleted or moved away.\n\nSave writes it anew.")));
        EXPECT_TRUE(Doc().Modified());
        editor->History().Stack().undo();
        EXPECT_TRUE(Doc().Modified()) << "no state of the history is on disk";
        editor->OnSave();
        EXPECT_EQ(ReadText(path), kRead);
        EXPECT_FALSE(Doc().Modified());
        EXPECT_EQ(dialogs.asked.size(), 1u);
        EXPECT_TRUE(watcher->IsWatched(path));
    }
}

// The same with the file system's own notices, the way sed -i writes.
TEST_F(DiskChange, TheFileSystemsNoticeReachesTheWindow) {
    editor->SetFileWatcher(std::make_unique<QtFileWatcher>());
    dialogs.answers = {Answer::Yes, Answer::Yes};
    for (const char* text : {kTheirs, "H1 {\ncolor: navy;\n}\n"}) {
        const std::string next = path + ".sed";
        WriteText(next, text);
        std::filesystem::rename(next, path);
        QTRY_COMPARE_WITH_TIMEOUT(Doc().StyleSheetText(), std::string(text), 5000);
    }
    EXPECT_EQ(dialogs.Count("YesNo"), 2);
}

// The page shown in the preview is watched too: a change shows at once.
TEST_F(DiskChange, APreviewedPageThatChangesIsShownAgain) {
    const std::string page = dir.filePath(QStringLiteral("p.html")).toStdString();
    WriteText(page, "<html><head></head><body><p>one</p></body></html>");
    editor->PreviewPageFile(page);
    EXPECT_THAT(watcher->watched, ElementsAre(path, page));
    const std::string copy = dir.filePath(QStringLiteral("~styletemp.html")).toStdString();
    ASSERT_THAT(ReadText(copy), HasSubstr("one"));
    browser.calls.clear();
    WriteText(page, "<html><head></head><body><p>two</p></body></html>");
    watcher->Fire(page);
    EXPECT_THAT(ReadText(copy), HasSubstr("two"));
    EXPECT_FALSE(browser.calls.empty());
    EXPECT_EQ(editor->StatusBar()->currentMessage().toStdString(),
              "p.html changed on disk: the preview shows it as it is now");
    EXPECT_TRUE(dialogs.asked.empty());
    std::filesystem::remove(page);
    watcher->Fire(page);
    EXPECT_EQ(editor->StatusBar()->currentMessage().toStdString(), "p.html was deleted or moved away");
    EXPECT_TRUE(dialogs.asked.empty());
}

}  // namespace
}  // namespace larkspur::testing
