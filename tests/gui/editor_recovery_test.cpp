#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDateTime>
#include <QElapsedTimer>
#include <filesystem>

#include "editor/recovery_file.h"
#include "editor_fixture.h"

namespace larkspur::testing {
namespace {

using namespace std::string_literals;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

// A pid that no process has now.
long DeadPid() {
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return child;
}

std::vector<std::string> NamesIn(const std::string& folder) {
    std::vector<std::string> names;
    if (!std::filesystem::exists(folder)) return names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

class Recovery : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        path = dir.filePath(QStringLiteral("site.css")).toStdString();
        WriteText(path, kOnDisk);
        ASSERT_TRUE(editor->OpenFile(path));
        dialogs.Clear();
    }
    void Edit(const std::string& colour) {
        Doc().SetSelectedIndex(Doc().FindRule("P"));
        Declare(Doc().FindRule("P"), kColor, colour);
    }
    // Lets the event loop run until the recovery file is there (or not).
    bool WaitForRecoveryFile(bool there) {
        QElapsedTimer clock;
        clock.start();
        while (FileExists(editor->Recovery().FilePath()) != there && clock.elapsed() < 5000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        return FileExists(editor->Recovery().FilePath()) == there;
    }
    RecoveryRecord KeptRecord() {
        std::string bytes;
        EXPECT_TRUE(ReadWholeFile(editor->Recovery().FilePath(), bytes));
        return ParseRecovery(bytes).value_or(RecoveryRecord{});
    }
    // A record as a run that is gone would have left it.
    std::string LeaveRecord(RecoveryRecord record) {
        record.pid = DeadPid();
        record.started = 0;
        EXPECT_TRUE(WriteRecoveryFile(RecoveryFolder(), record));
        return RecoveryFolder() + "/" + RecoveryFileName(record.pid, 0);
    }
    std::string Question(const RecoveryRecord& record, const std::string& name) {
        const std::string time = QDateTime::fromSecsSinceEpoch(record.savedAt)
                                     .toString(QStringLiteral("d MMM yyyy, HH:mm"))
                                     .toStdString();
        return "Choice: Recover Changes: Larkspur stopped without saving " + name + ". The sheet as it was at " + time +
               " was kept.\n\nRestore it? [&Restore*|&Discard|&Later]";
    }

    static constexpr const char* kOnDisk = "P {\r\nmargin: 0;\r\n}\r\n/* kept */\r\n";
    QTemporaryDir dir;
    std::string path;
};

// A while after the last change the sheet is kept, as Save would write it,
// for the user's eyes alone; every way the work stops being unsaved removes it.
TEST_F(Recovery, UnsavedWorkIsKeptAfterARestAndGoesOnceNothingIsUnsaved) {
    enum Way { kSave, kUndoToSaved, kCloseWithNo, kCloseWithYes, kOpenAnotherWithNo };
    for (const Way way : {kSave, kUndoToSaved, kCloseWithNo, kCloseWithYes, kOpenAnotherWithNo}) {
        SCOPED_TRACE(way);
        WriteText(path, kOnDisk);
        MakeEditor();
        editor->Recovery().SetDelay(30);
        ASSERT_TRUE(editor->OpenFile(path));
        Edit("red");
        EXPECT_TRUE(editor->Recovery().Pending());
        Edit("blue");  // starts the wait again
        ASSERT_TRUE(WaitForRecoveryFile(true));
        const RecoveryRecord kept = KeptRecord();
        EXPECT_EQ(kept.pid, ::getpid());
        EXPECT_EQ(kept.path, path);
        EXPECT_EQ(kept.text, Doc().StyleSheetText());
        EXPECT_THAT(kept.text, HasSubstr("color: blue;"));
        EXPECT_EQ(std::filesystem::status(editor->Recovery().FilePath()).permissions(),
                  std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
        EXPECT_EQ(std::filesystem::status(RecoveryFolder()).permissions(), std::filesystem::perms::owner_all);
        EXPECT_THAT(NamesIn(dir.path().toStdString()), ElementsAre("site.css")) << "nothing beside the sheet";

        switch (way) {
        case kSave: editor->OnSave(); break;
        case kUndoToSaved:
            while (Doc().Modified() && editor->History().Stack().canUndo()) editor->OnUndo();
            break;
        case kCloseWithNo:
        case kCloseWithYes:
            dialogs.answers = {way == kCloseWithNo ? Answer::No : Answer::Yes};
            editor->reject();
            break;
        case kOpenAnotherWithNo:
            dialogs.answers = {Answer::No};
            editor->OpenDocumentFile(path);
            break;
        }
        EXPECT_EQ(Doc().Modified(), way == kCloseWithNo);
        EXPECT_TRUE(NamesIn(RecoveryFolder()).empty());
        EXPECT_EQ(ReadText(path).find("blue") != std::string::npos, way == kSave || way == kCloseWithYes);
    }
}

// Cancel at the close prompt keeps the window, and the recovery file with it.
TEST_F(Recovery, ACancelledCloseKeepsTheRecoveryFile) {
    Edit("red");
    ASSERT_TRUE(editor->Recovery().Keep());
    dialogs.answers = {Answer::Cancel};
    editor->reject();
    EXPECT_TRUE(FileExists(editor->Recovery().FilePath()));
}

// The editor is killed while it waits with unsaved work: the next start
// offers it back, and Restore gives the sheet as it was, unsaved, belonging
// to its file, which is left as it was.
TEST_F(Recovery, WorkOfAKilledEditorIsOfferedAndRestored) {
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::close(ready[0]);
        Edit("red");
        editor->Recovery().SetDelay(20);
        Edit("navy");
        if (!WaitForRecoveryFile(true)) ::_exit(1);
        if (::write(ready[1], "k", 1) != 1) ::_exit(1);
        for (;;) ::pause();
    }
    ::close(ready[1]);
    pollfd wait{ready[0], POLLIN, 0};
    char byte = 0;
    const bool kept = ::poll(&wait, 1, 20000) == 1 && ::read(ready[0], &byte, 1) == 1;
    ::close(ready[0]);

    // While it runs its work is its own.
    MakeEditor();
    EXPECT_FALSE(editor->OfferRecovery());
    EXPECT_TRUE(dialogs.asked.empty());
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    ASSERT_TRUE(kept) << "the child kept no recovery file";
    const std::vector<FoundRecovery> left = FindLeftRecoveries(RecoveryFolder());
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0].record.pid, child);

    dialogs.choices = {0};
    EXPECT_TRUE(editor->OfferRecovery());
    EXPECT_THAT(dialogs.Transcript(), ElementsAre(Question(left[0].record, "\"" + path + "\"")));
    EXPECT_EQ(Doc().StyleSheetText(), left[0].record.text);
    EXPECT_THAT(Doc().StyleSheetText(), HasSubstr("color: navy;"));
    EXPECT_TRUE(Doc().Modified());
    EXPECT_TRUE(editor->isWindowModified());
    EXPECT_EQ(editor->CurrentFile(), path);
    EXPECT_EQ(ReadText(path), kOnDisk);
    EXPECT_TRUE(watcher->IsWatched(path));
    ExpectViewsInStep();
    // This run keeps it now; the killed run's file is gone.
    EXPECT_THAT(NamesIn(RecoveryFolder()),
                ElementsAre(std::filesystem::path(editor->Recovery().FilePath()).filename().string()));
    editor->OnUndo();
    EXPECT_TRUE(Doc().Modified());
    editor->OnSave();
    EXPECT_EQ(ReadText(path), left[0].record.text);
    EXPECT_TRUE(NamesIn(RecoveryFolder()).empty());
}

// Discard removes the record, Later keeps it for the next start, and a
// sheet never saved comes back without a file.
TEST_F(Recovery, DiscardLaterAndASheetWithoutAFile) {
    RecoveryRecord untitled;
    untitled.savedAt = 1765300000;
    untitled.text = "H2 {\ncolor: red;\n}\n";
    const std::string file = LeaveRecord(untitled);
    const std::string question = Question(untitled, "a new sheet");
    struct Step {
        int choice;
        bool restored;
        bool fileLeft;
    };
    for (const Step step : {Step{2, false, true}, Step{-1, false, true}, Step{1, false, false}}) {
        SCOPED_TRACE(step.choice);
        dialogs.Clear();
        dialogs.choices = {step.choice};
        EXPECT_EQ(editor->OfferRecovery(), step.restored);
        EXPECT_THAT(dialogs.Transcript(), ElementsAre(question));
        EXPECT_EQ(FileExists(file), step.fileLeft);
        EXPECT_EQ(ReadText(path), kOnDisk);
        EXPECT_FALSE(Doc().Modified());
    }
    dialogs.Clear();
    EXPECT_FALSE(editor->OfferRecovery());
    EXPECT_TRUE(dialogs.asked.empty());

    LeaveRecord(untitled);
    dialogs.choices = {0};
    EXPECT_TRUE(editor->OfferRecovery());
    EXPECT_EQ(editor->CurrentFile(), "");
    EXPECT_THAT(CodeLines(), ElementsAre("H2 {", "color: red;", "}"));
    EXPECT_TRUE(Doc().Modified());
}

// The stopped run read the file before another program changed it: Save
// still asks before it writes over that change.
TEST_F(Recovery, ARestoredSheetAsksBeforeSavingOverALaterChange) {
    Edit("red");
    RecoveryRecord record;
    record.path = path;
    record.stamp = StampFile(path);
    record.text = Doc().StyleSheetText();
    LeaveRecord(record);
    WriteText(path, "P {\r\nmargin: 1px;\r\n}\r\n");
    MakeEditor();
    dialogs.choices = {0};
    ASSERT_TRUE(editor->OfferRecovery());
    editor->OnSave();
    EXPECT_THAT(dialogs.Transcript().back(), HasSubstr("since it was read.\n\nSave over it?"));
    EXPECT_EQ(ReadText(path), "P {\r\nmargin: 1px;\r\n}\r\n");
}

// Restore gives back exactly what was kept, for real sheets.
TEST_F(Recovery, RealSheetsComeBackByteForByte) {
    for (const char* name : {"normalize.css", "bootstrap-theme.css", "spectre-icons.css", "animate.min.css"}) {
        SCOPED_TRACE(name);
        const std::string framework = std::string(LARKSPUR_TEST_DATA) + "/frameworks/" + name;
        MakeEditor();
        ASSERT_TRUE(editor->OpenFile(framework));
        Declare(Doc().FindRule("H1"), kColor, "red");
        ASSERT_TRUE(editor->Recovery().Keep());
        RecoveryRecord record = KeptRecord();
        const std::string text = Doc().StyleSheetText();
        ASSERT_EQ(record.text, text);
        std::filesystem::remove(editor->Recovery().FilePath());
        LeaveRecord(record);
        MakeEditor();
        dialogs.choices = {0};
        ASSERT_TRUE(editor->OfferRecovery());
        EXPECT_EQ(Doc().StyleSheetText(), text);
        EXPECT_EQ(editor->CurrentFile(), framework);
        ExpectViewsInStep();
    }
}

TEST(RecoveryFile, RecordsRoundTripAndDamagedOnesAreRefused) {
    RecoveryRecord record;
    record.pid = 4242;
    record.started = 987654321;
    record.savedAt = 1765300000;
    record.path = "/tmp/odd\nname text 3\n.css";
    record.stamp = {true, true, 12, 1765300000123456789, 0xfeedfacecafebeefull};
    record.text = "text 99\n\r\n\0tail"s;
    const std::string bytes = FormatRecovery(record);
    EXPECT_EQ(ParseRecovery(bytes), record);
    for (size_t cut = 0; cut < bytes.size(); ++cut)
        EXPECT_FALSE(ParseRecovery(std::string_view(bytes).substr(0, cut))) << cut;
    EXPECT_FALSE(ParseRecovery(bytes + "x"));
    std::string bigger = bytes;
    const std::string length = "\ntext " + std::to_string(record.text.size()) + "\n";
    bigger.replace(bigger.find(length), length.size(), "\ntext 99999999999999999999\n");
    EXPECT_FALSE(ParseRecovery(bigger));
    RecoveryRecord empty;
    EXPECT_EQ(ParseRecovery(FormatRecovery(empty)), empty);
}

// Only the user's own, whole records of runs that are gone are offered;
// the leftovers of killed writes are cleared away.
TEST(RecoveryFile, OnlyWholeRecordsOfGoneRunsInAPrivateFolderAreFound) {
    QTemporaryDir root;
    const std::string folder = root.filePath(QStringLiteral("r")).toStdString();
    RecoveryRecord gone;
    gone.pid = DeadPid();
    gone.savedAt = 100;
    ASSERT_TRUE(WriteRecoveryFile(folder, gone));
    RecoveryRecord newer = gone;
    newer.pid = DeadPid();
    newer.savedAt = 200;
    ASSERT_TRUE(WriteRecoveryFile(folder, newer));
    RecoveryRecord running;  // this very process
    running.pid = ::getpid();
    running.started = ProcessStartTime(running.pid);
    ASSERT_NE(running.started, 0u);
    ASSERT_TRUE(WriteRecoveryFile(folder, running));
    RecoveryRecord reused = running;  // a pid given again to another program
    reused.started = running.started - 1;
    reused.savedAt = 50;
    ASSERT_TRUE(WriteRecoveryFile(folder, reused));
    WriteText(folder + "/" + std::to_string(DeadPid()) + "-0.recovery", "Larkspur recovery 1\npid 1\n");
    const std::string leftover = folder + "/" + std::to_string(DeadPid()) + "-0.recovery.tmpAbC123";
    WriteText(leftover, "half");
    std::filesystem::create_symlink(folder + "/" + RecoveryFileName(gone.pid, 0),
                                    folder + "/" + std::to_string(DeadPid()) + "-0.recovery");

    std::vector<long> pids;
    for (const FoundRecovery& found : FindLeftRecoveries(folder)) pids.push_back(found.record.pid);
    EXPECT_THAT(pids, ElementsAre(newer.pid, gone.pid, reused.pid));
    EXPECT_FALSE(FileExists(leftover));

    std::filesystem::permissions(folder, std::filesystem::perms::group_write, std::filesystem::perm_options::add);
    EXPECT_TRUE(FindLeftRecoveries(folder).empty());
    EXPECT_FALSE(WriteRecoveryFile(folder, gone));
}

}  // namespace
}  // namespace larkspur::testing
