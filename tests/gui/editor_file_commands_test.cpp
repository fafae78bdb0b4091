#include <QStatusBar>
#include <QTemporaryDir>
#include <fstream>
#include <sstream>

#include <algorithm>
#include <filesystem>
#include <utility>

#include "css/apply_journal.h"
#include "css/file_io.h"
#include "css/html_embed.h"
#include "css/unified_diff.h"
#include "editor_fixture.h"

namespace larkspur::testing {
namespace {

using ::testing::ElementsAre;


class FileCommands : public EditorTest {
protected:
    std::string Path(const char* name) { return dir.filePath(QString::fromLatin1(name)).toStdString(); }
    void TearDown() override { SetFileWriteHook({}); }
    QTemporaryDir dir;
};

TEST_F(FileCommands, OpenReadsTheSheetAndTicksItsRules) {
    const std::string path = Path("site.css");
    WriteText(path, "H2 {\r\ncolor: red;\r\n}\r\n.note {\r\nfont-size: 12pt;\r\n}\r\n");
    dialogs.openFiles.push_back(path);
    editor->OnOpen();
    EXPECT_EQ(dialogs.asked.at(0),
              (AskedQuestion{"OpenFile", "", "Web Pages, Style Sheets | *.html; *.htm; *.css|All Files | *.*||"}));
    EXPECT_THAT(CodeLines(), ElementsAre("H2 {", "color: red;", "}", ".note {", "font-size: 12pt;", "}"));
    EXPECT_EQ(RuleNames().back(), ".note");
    EXPECT_TRUE(editor->RuleListBox()->IsChecked(Doc().FindRule("H2")));
    EXPECT_EQ(editor->CurrentFile(), path);
    EXPECT_EQ(editor->SavedPath(), path);
    EXPECT_FALSE(Doc().Modified());
    ExpectViewsInStep();
}

// The Code page shows the file as Save writes it, and
// the status bar says once how much was kept.
TEST_F(FileCommands, OpenKeepsWhatThePagesDoNotEditAndSaysHowMuch) {
    const std::string path = Path("framework.css");
    WriteText(path, "/* base */\n.btn { display: inline-block; color: red }\n@media print { a { color: black } }\n");
    dialogs.openFiles.push_back(path);
    editor->OnOpen();
    EXPECT_THAT(CodeLines(), ElementsAre("/* base */", ".btn { display: inline-block; color: red }",
                                         "@media print { a { color: black } }"));
    EXPECT_EQ(editor->StatusBar()->currentMessage().toStdString(),
              "Kept as written: 1 declaration, 1 @media block, 1 comment");
    ExpectViewsInStep();
    // An edit on the pages changes its own line only.
    Doc().SetSelectedIndex(Doc().FindRule(".btn"));
    Declare(Doc().FindRule(".btn"), kColor, "blue");
    EXPECT_THAT(CodeLines(), ElementsAre("/* base */", ".btn { display: inline-block; color: blue }",
                                         "@media print { a { color: black } }"));
    ExpectViewsInStep();
    const std::string saved = Path("saved.css");
    ASSERT_TRUE(Doc().WriteStyleSheetFile(saved));
    std::ifstream in(saved, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(), "/* base */\n.btn { display: inline-block; color: blue }\n@media print { a { color: black } }\n");
}

// Open replaces the sheet: the list holds the start rules and the second
// file's blocks, nothing of the first file.
TEST_F(FileCommands, OpenAfterOpenLeavesNothingOfTheFirstSheet) {
    const std::string first = Path("first.css"), second = Path("second.css");
    WriteText(first, ".grid { top: 0 }\n@media print { .gr { top: 1 } }\np { top: 2 }\n");
    WriteText(second, "h1 { color: red }");
    dialogs.openFiles.push_back(first);
    editor->OnOpen();
    ASSERT_EQ(editor->RuleListBox()->count(), 58);
    dialogs.openFiles.push_back(second);
    editor->OnOpen();
    EXPECT_EQ(editor->RuleListBox()->count(), 56);
    const std::vector<std::string> names = RuleNames();
    EXPECT_EQ(std::count_if(names.begin(), names.end(), [](const std::string& n) { return n.find("gr") != n.npos; }), 0);
    // The tag rule read is the file's block, named as the file writes it.
    const int h1 = Doc().FindRule("h1");
    EXPECT_EQ(names.at(static_cast<size_t>(h1)), "h1");
    EXPECT_FALSE(editor->RuleListBox()->IsChecked(Doc().FindRule("P")));
    ExpectViewsInStep();
    // Saved unchanged, the file comes back as it was: no line end added.
    ASSERT_TRUE(Doc().WriteStyleSheetFile(Path("again.css")));
    EXPECT_EQ(ReadText(Path("again.css")), "h1 { color: red }");
}

// A byte-order mark, @charset and a comment before the first rule are the
// file's: the first row is the rule, and renaming it keeps them.
TEST_F(FileCommands, TheStartOfTheFileStaysWhenItsFirstRuleIsRenamed) {
    const std::string path = Path("charset.css");
    WriteText(path, "\xEF\xBB\xBF@charset \"UTF-8\";\n/* greetings */\n.gr\xC3\xBC\xC3\x9F""e { color: red }\n");
    dialogs.openFiles.push_back(path);
    editor->OnOpen();
    EXPECT_EQ(RuleNames().back(), ".gr\xC3\xBC\xC3\x9F""e");
    dialogs.renames.push_back(".gruesse");
    editor->OnRenameRule();
    ASSERT_TRUE(Doc().WriteStyleSheetFile(path));
    EXPECT_EQ(ReadText(path), "\xEF\xBB\xBF@charset \"UTF-8\";\n/* greetings */\n.gruesse { color: red }\n");
    ExpectViewsInStep();
}

TEST_F(FileCommands, AFileThatCannotBeOpenedLeavesTheSheetAsItWas) {
    Declare(1, kColor, "red");
    const auto before = ListingLines();
    const std::string page = Path("plain.html");
    WriteText(page, "<html><body>no style</body></html>");
    for (const std::string& path : {Path("missing.css"), page}) {
        SCOPED_TRACE(path);
        dialogs.Clear();
        dialogs.answers.push_back(Answer::No);  // not saved first
        dialogs.openFiles.push_back(path);
        editor->OnOpen();
        ASSERT_EQ(dialogs.Messages().size(), 1u);
        EXPECT_EQ(dialogs.asked.back().caption, "Larkspur");
        EXPECT_EQ(ListingLines(), before);
        EXPECT_EQ(editor->CurrentFile(), "");
        EXPECT_TRUE(Doc().Modified());
        ExpectViewsInStep();
    }
}

TEST_F(FileCommands, SaveAsCssWritesToTheFullPathChosen) {
    Declare(1, kColor, "red");
    const std::string path = Path("out.css");
    dialogs.saveAsKinds.push_back(1);
    dialogs.saveFiles.push_back(path);
    editor->OnSave();  // no current file: Save As
    EXPECT_THAT(dialogs.Transcript(), ElementsAre("SaveAsKind: Save as: ", "SaveFile: css: Style Sheets | *.css||"));
    EXPECT_EQ(ReadText(path), Doc().StyleSheetText());
    EXPECT_EQ(editor->CurrentFile(), path);
    EXPECT_EQ(editor->SavedPath(), path);
    EXPECT_FALSE(Doc().Modified());

    // Save now goes to that file without a question.
    dialogs.Clear();
    Declare(2, kColor, "blue");
    editor->OnSave();
    EXPECT_TRUE(dialogs.asked.empty());
    EXPECT_EQ(ReadText(path), Doc().StyleSheetText());
    EXPECT_FALSE(Doc().Modified());
}

TEST_F(FileCommands, SaveAsHtmlPutsTheSheetIntoThePageAndMakesAMissingOne) {
    Declare(1, kColor, "red");
    const std::string existing = Path("page.html");
    WriteText(existing, "<html><head><title>t</title></head><body>x</body></html>");
    dialogs.saveAsKinds.push_back(0);
    dialogs.saveFiles.push_back(existing);
    editor->OnSaveAs();
    EXPECT_EQ(dialogs.asked.at(1), (AskedQuestion{"SaveFile", "html", "Web Pages | *.htm; *.html||"}));
    EXPECT_NE(ReadText(existing).find(Doc().BuildStyleBlock() + "</head>"), std::string::npos);
    EXPECT_FALSE(Doc().Modified());

    Declare(2, kColor, "blue");
    const std::string fresh = Path("new.html");
    dialogs.saveAsKinds.push_back(0);
    dialogs.saveFiles.push_back(fresh);
    editor->OnSaveAs();
    EXPECT_NE(ReadText(fresh).find(Doc().BuildStyleBlock()), std::string::npos);
    EXPECT_EQ(editor->CurrentFile(), fresh);
}

TEST_F(FileCommands, SaveIntoAPageWithStylesAsksAndNoKeepsThePage) {
    Declare(1, kColor, "red");
    const std::string page = Path("styled.html");
    const std::string original = "<html><head><style>p{}</style></head><body></body></html>";
    WriteText(page, original);
    dialogs.saveAsKinds.push_back(0);
    dialogs.saveFiles.push_back(page);
    dialogs.answers.push_back(Answer::No);
    editor->OnSaveAs();
    EXPECT_EQ(dialogs.asked.back(), (AskedQuestion{"YesNo", "Query", "Overwrite existing Style Sheet"}));
    EXPECT_EQ(ReadText(page), original);
    EXPECT_TRUE(Doc().Modified());
    EXPECT_EQ(editor->CurrentFile(), "");
}

TEST_F(FileCommands, CancelledSaveAsKeepsTheSheetMarkedAsChanged) {
    Declare(1, kColor, "red");
    editor->OnSaveAs();  // cancelled at the choice
    dialogs.saveAsKinds.push_back(1);
    editor->OnSaveAs();  // cancelled at the file dialog
    EXPECT_THAT(dialogs.Transcript(), ElementsAre("SaveAsKind: Save as: ", "SaveAsKind: Save as: ",
                                                  "SaveFile: css: Style Sheets | *.css||"));
    EXPECT_TRUE(Doc().Modified());
    EXPECT_EQ(editor->CurrentFile(), "");
}

TEST_F(FileCommands, AFailedWriteIsReportedAndTheOldFileKept) {
    const std::string path = Path("keep.css");
    WriteText(path, "OLD{\r\n}\r\n");
    Declare(1, kColor, "red");
    SetFileWriteHook([](int, const char*, std::size_t) -> long {
        errno = ENOSPC;
        return -1;
    });
    dialogs.saveAsKinds.push_back(1);
    dialogs.saveFiles.push_back(path);
    editor->OnSaveAs();
    EXPECT_EQ(dialogs.Messages().size(), 1u);
    EXPECT_EQ(ReadText(path), "OLD{\r\n}\r\n");
    EXPECT_TRUE(Doc().Modified());
    EXPECT_EQ(editor->CurrentFile(), "");
}

// The pages' own style sheets are replaced without a question; the list of
// what will change comes first, the offer to take the run back after.
TEST_F(FileCommands, SaveIntoSeveralPagesListsTheChangesAndCanTakeTheRunBack) {
    Declare(1, kColor, "red");
    const std::string a = Path("a.html"), b = Path("b.html"), gone = Path("gone.html");
    const std::string pageA = "<html><head><style>x{}</style></head></html>";
    const std::string pageB = "<html><head><STYLE>y{}</STYLE></head></html>";
    const std::string journal = CEditorDlg::JournalFolder();
    ASSERT_NE(journal.find(".qttest"), std::string::npos) << "tests keep off the user's own journal: " << journal;
    struct Case {
        const char* name;
        bool confirm;
        Answer takeBack;
    };
    for (const Case& c : {Case{"cancelled", false, Answer::No}, Case{"kept", true, Answer::No},
                          Case{"taken back", true, Answer::Yes}}) {
        SCOPED_TRACE(c.name);
        WriteText(a, pageA);
        WriteText(b, pageB);
        dialogs.Clear();
        const std::vector<std::string> runsBefore = JournalRunIds(journal);
        dialogs.openFileLists.push_back({a, gone, b});
        dialogs.pageConfirms.push_back(c.confirm);
        dialogs.answers = {c.takeBack};
        editor->OnSaveSeveral();

        EXPECT_EQ(dialogs.asked.at(0), (AskedQuestion{"OpenFiles", "", "Web Pages| *.html; *.htm||"}));
        EXPECT_EQ(dialogs.asked.at(1).text, "changed " + a + "\ncannot-write " + gone + "\nchanged " + b + "\n");
        const LineCounts lines = CountChangedLines(pageA, PlaceStyleBlock(pageA, Doc().BuildStyleBlock()));
        EXPECT_EQ(dialogs.pageRows.at(0).detail,
                  "+" + std::to_string(lines.added) + " -" + std::to_string(lines.removed) + " lines");
        EXPECT_NE(dialogs.pageRows.at(1).detail.find(gone), std::string::npos);
        const std::vector<std::string> runs = JournalRunIds(journal);
        if (!c.confirm) {
            EXPECT_EQ(dialogs.asked.size(), 2u);
            EXPECT_EQ(ReadText(a), pageA);
            EXPECT_EQ(runs, runsBefore);
            continue;
        }
        ASSERT_FALSE(runs.empty());
        const std::string id = runs.back();
        EXPECT_EQ(std::find(runsBefore.begin(), runsBefore.end(), id), runsBefore.end());
        ASSERT_EQ(dialogs.asked.size(), 3u) << "no question about the pages' own style sheets";
        const AskedQuestion& offer = dialogs.asked[2];
        EXPECT_EQ(offer.kind, "YesNo");
        EXPECT_NE(offer.text.find(gone), std::string::npos) << offer.text;
        EXPECT_NE(offer.text.find("placed into 2 pages (run " + id + ")"), std::string::npos) << offer.text;
        EXPECT_TRUE(dialogs.Messages().empty());
        for (const auto& [page, before] : {std::pair{a, pageA}, std::pair{b, pageB}}) {
            if (c.takeBack == Answer::Yes)
                EXPECT_EQ(ReadText(page), before);
            else
                EXPECT_EQ(ReadText(page), PlaceStyleBlock(before, Doc().BuildStyleBlock()));
        }
        std::filesystem::remove_all(journal + "/" + id);
    }
}

// ---- New sheet ----

TEST_F(FileCommands, NewSheetWhenNothingChangedAsksNothingAndResets) {
    dialogs.newRules.push_back(NewRuleChoice{"note", 1});
    editor->OnNewRule();
    Doc().SetModified(false);
    editor->OnNewSheet();
    EXPECT_EQ(dialogs.Count("YesNoCancel"), 0);
    EXPECT_TRUE(CodeLines().empty());
    // Back to the start rules: nothing of the sheet before.
    EXPECT_EQ(Doc().RuleCount(), 56);
    EXPECT_EQ(editor->RuleListBox()->count(), 56);
    EXPECT_EQ(Doc().FindRule(".note"), -1);
    ExpectViewsInStep();
}

TEST_F(FileCommands, NewSheetOffersToSaveAChangedSheet) {
    struct Case {
        Answer answer;
        bool withFile;
        bool failWrite;
        bool reset;
        bool saveAsAnswered = false;
    };
    const Case cases[] = {
        {Answer::Cancel, false, false, false}, {Answer::No, false, false, true},
        {Answer::Yes, false, false, false},        // Save As cancelled: the sheet is kept
        {Answer::Yes, false, false, true, true},   // saved through Save As, then the new sheet
        {Answer::Yes, true, false, true},      {Answer::Yes, true, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << static_cast<int>(c.answer) << c.withFile << c.failWrite
                                          << c.saveAsAnswered);
        MakeEditor();
        const std::string path = Path("sheet.css");
        if (c.withFile) {
            WriteText(path, "");
            dialogs.openFiles.push_back(path);
            editor->OnOpen();
        }
        Declare(1, kColor, "red");
        const std::string sheet = Doc().StyleSheetText();
        dialogs.Clear();
        dialogs.answers.push_back(c.answer);
        if (c.saveAsAnswered) {
            dialogs.saveAsKinds.push_back(1);
            dialogs.saveFiles.push_back(Path("saved-as.css"));
        }
        if (c.failWrite) SetFileWriteHook([](int, const char*, std::size_t) -> long { return -1; });
        editor->OnNewSheet();
        SetFileWriteHook({});
        EXPECT_EQ(dialogs.asked.at(0), (AskedQuestion{"YesNoCancel", "Save Changes", "Do you want to save your changes"}));
        EXPECT_EQ(dialogs.Count("SaveAsKind"), c.answer == Answer::Yes && !c.withFile ? 1 : 0);
        EXPECT_EQ(CodeLines().empty(), c.reset);
        EXPECT_EQ(Doc().Modified(), !c.reset);
        if (c.withFile) { EXPECT_EQ(ReadText(path), c.failWrite ? "" : sheet); }
        if (c.saveAsAnswered) { EXPECT_EQ(ReadText(Path("saved-as.css")), sheet); }
        if (c.reset) { EXPECT_EQ(editor->CurrentFile(), ""); }
        ExpectViewsInStep();
    }
}

}  // namespace
}  // namespace larkspur::testing
