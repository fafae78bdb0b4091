// What the window does beyond the sheet's commands: following the rule on the
// Code page, the colour dialog, recent files and dropped files.
#include <QDropEvent>
#include <QListView>
#include <QMenu>
#include <QMimeData>
#include <QTemporaryDir>
#include <QUrl>
#include <filesystem>

#include "controls/color_button.h"
#include "css/file_io.h"
#include "editor_fixture.h"
#include "pages/font_page.h"
#include "pages/preview_page.h"
#include "pages/property_page.h"

namespace larkspur::testing {
namespace {

using ::testing::ElementsAre;

class DesktopTest : public EditorTest {
protected:
    std::string Path(const std::string& name) { return dir.filePath(QString::fromStdString(name)).toStdString(); }
    std::string Sheet(const std::string& name, const std::string& text = "H1 {\r\ncolor: red;\r\n}\r\n") {
        WriteText(Path(name), text);
        return Path(name);
    }
    bool CodeRowShown(int row) const {
        QListView* view = editor->CodePage()->List();
        return view->viewport()->rect().contains(view->visualRect(view->model()->index(row, 0)));
    }
    QStringList RecentTexts() const {
        QStringList texts;
        for (QAction* a : editor->RecentMenu()->actions()) texts << a->text();
        return texts;
    }
    // Drags the files over the window and drops them; true when it took them.
    bool Drop(const std::vector<std::string>& paths) {
        QMimeData mime;
        QList<QUrl> urls;
        for (const std::string& path : paths) urls << QUrl::fromLocalFile(QString::fromStdString(path));
        mime.setUrls(urls);
        const QPoint at(10, 10);
        QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(editor.get(), &enter);
        if (!enter.isAccepted()) return false;
        QDropEvent drop(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(editor.get(), &drop);
        QCoreApplication::processEvents();
        return drop.isAccepted();
    }

    QTemporaryDir dir;
};

TEST_F(DesktopTest, CodePageFollowsTheSelectedAndEditedRuleWithoutTakingTheFocus) {
    editor->show();
    QApplication::setActiveWindow(editor.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(editor.get()));
    editor->ViewSheet()->setCurrentWidget(editor->CodePage());
    for (int row = 0; row < Doc().RuleCount(); ++row) Declare(row, kColor, "red");
    editor->RuleListBox()->setFocus();
    const int far = 50;
    Select(far);
    const int first = Doc().RuleLines(far).first;
    EXPECT_TRUE(CodeRowShown(first));
    EXPECT_TRUE(CodeRowShown(first + 2));  // to the closing brace
    EXPECT_FALSE(CodeRowShown(0));
    EXPECT_EQ(QApplication::focusWidget(), editor->RuleListBox());

    // An edit of the selected rule brings its lines back into view.
    editor->CodePage()->List()->scrollToTop();
    editor->BeginChange("Font", 0);
    Doc().SetValue(far, kFontSize, "9pt");
    editor->EndChange();
    EXPECT_TRUE(CodeRowShown(Doc().RuleLines(far).first + 3));

    // Selected while the Preview is shown: in view once the Code page is.
    editor->ViewSheet()->setCurrentIndex(0);  // Preview
    Select(3);
    editor->ViewSheet()->setCurrentWidget(editor->CodePage());
    QCoreApplication::processEvents();
    EXPECT_TRUE(CodeRowShown(Doc().RuleLines(3).first));
    EXPECT_FALSE(CodeRowShown(Doc().RuleLines(far).first));
}

// The dialog starts at the rule's colour; the sheet's letter case is kept.
TEST_F(DesktopTest, ColourDialogStartsAtTheRulesColourAndWritesInTheSheetsCase) {
    const std::string lower = Sheet("lower.css", "H1 {\r\ncolor: #fff;\r\n}\r\nP {\r\ncolor: #a0b0c0;\r\n}\r\n");
    ASSERT_TRUE(editor->OpenFile(lower));
    Select(Doc().FindRule("H1"));
    CPropertyPage* font = &FontPage();
    editor->PropertySheet()->setCurrentWidget(font);
    dialogs.colours.push_back(MakeColour(0x12, 0xAB, 0xFF));
    font->ColourButton(CFontPage::kColourButton)->click();
    EXPECT_THAT(dialogs.Transcript(), ElementsAre("Colour: : " + std::to_string(MakeColour(0xFF, 0xFF, 0xFF))));
    EXPECT_THAT(CodeLines(), ::testing::Contains("color: #12abff;"));

    // A new sheet writes the program's own form again.
    dialogs.answers.push_back(Answer::No);
    editor->OnNewSheet();
    ListRow(Doc().FindRule("H1"));
    editor->PropertySheet()->setCurrentWidget(font);
    font->Button(CFontPage::kColour)->click();
    dialogs.colours.push_back(MakeColour(0x12, 0xAB, 0xFF));
    font->ColourButton(CFontPage::kColourButton)->click();
    EXPECT_THAT(CodeLines(), ::testing::Contains("color: #12ABFF;"));
}

TEST_F(DesktopTest, OpenRecentKeepsTheTenNewestOnceAndOpensThroughTheSavePrompt) {
    EXPECT_FALSE(editor->RecentMenu()->isEnabled());
    std::vector<std::string> files;
    for (int n = 0; n < 12; ++n) files.push_back(Sheet("s" + std::to_string(n) + ".css"));
    for (const std::string& file : files) ASSERT_TRUE(editor->OpenFile(file));
    ASSERT_TRUE(editor->OpenFile(files[5]));  // again: to the front, once
    std::vector<std::string> expected{files[5], files[11], files[10], files[9], files[8],
                                      files[7], files[6],  files[4],  files[3], files[2]};
    EXPECT_EQ(editor->Recent().Paths(), expected);
    EXPECT_EQ(RecentTexts().front().toStdString(), "&1 " + files[5]);
    EXPECT_EQ(RecentTexts().back().toStdString(), "&0 " + files[2]);

    // Kept in the settings for the next start.
    const QStringList before = RecentTexts();
    MakeEditor();
    EXPECT_EQ(RecentTexts(), before);

    // A changed sheet is offered for saving first; Cancel opens nothing.
    Declare(1, kColor, "blue");
    dialogs.answers.push_back(Answer::Cancel);
    editor->RecentMenu()->actions()[1]->trigger();
    EXPECT_THAT(dialogs.Transcript(), ElementsAre("YesNoCancel: Save Changes: Do you want to save your changes"));
    EXPECT_EQ(editor->CurrentFile(), "");
    dialogs.answers.push_back(Answer::No);
    editor->RecentMenu()->actions()[1]->trigger();
    EXPECT_EQ(editor->CurrentFile(), files[11]);

    // A file that has gone is reported once and leaves the list.
    std::filesystem::remove(files[9]);
    dialogs.Clear();
    editor->RecentMenu()->actions()[3]->trigger();
    EXPECT_EQ(dialogs.Messages().size(), 1u);
    EXPECT_EQ(editor->Recent().Paths().size(), 9u);
    EXPECT_FALSE(RecentTexts().join(' ').contains(QString::fromStdString(files[9])));
}

TEST_F(DesktopTest, DroppedSheetOrPageOpensThroughTheSavePrompt) {
    const std::string css = Sheet("dropped.css");
    const std::string page =
        Sheet("page.html", "<html><head><style>\nP {\ncolor: blue;\n}\n</style></head><body></body></html>\n");
    EXPECT_FALSE(Drop({Sheet("notes.txt", "not a sheet")}));

    Declare(2, kColor, "green");
    dialogs.answers.push_back(Answer::No);
    EXPECT_TRUE(Drop({Path("notes.txt"), css}));  // the first sheet among the files
    EXPECT_THAT(dialogs.Transcript(), ElementsAre("YesNoCancel: Save Changes: Do you want to save your changes"));
    EXPECT_EQ(editor->CurrentFile(), css);
    EXPECT_TRUE(Doc().IsChecked(Doc().FindRule("H1")));

    EXPECT_TRUE(Drop({page}));
    EXPECT_EQ(editor->CurrentFile(), page);
    EXPECT_EQ(editor->PageFolder(), FolderOf(page));  // previewed, as Load page does
    EXPECT_TRUE(Doc().IsChecked(Doc().FindRule("P")));
}

}  // namespace
}  // namespace larkspur::testing
