#include <QTextBrowser>
#include <QLabel>
#include <QTemporaryDir>
#include <fstream>
#include <sstream>

#include <QFileInfo>

#include "app/data_files.h"
#include "css/html_embed.h"
#include "controls/info_dlg.h"
#include "editor/help_window.h"
#include "editor_fixture.h"
#include "pages/preview_page.h"

namespace larkspur::testing {
namespace {

using ::testing::ElementsAre;


class Preview : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        folder = dir.path().toStdString() + "/";
        page = folder + "page.html";
        std::ofstream(page, std::ios::binary) << kPage;
    }
    std::string Copy() { return ReadText(folder + "~styletemp.html"); }

    static constexpr const char* kPage =
        "<html><head><title>t</title><style>H2 {\r\ncolor: red;\r\n}\r\n</style></head><body><h2>x</h2></body></html>";
    QTemporaryDir dir;
    std::string folder, page;
};

TEST_F(Preview, LoadPageReadsTheSheetAndShowsThePreviewCopy) {
    dialogs.openFiles.push_back(page);
    editor->OnLoadPage();
    EXPECT_EQ(dialogs.asked.at(0), (AskedQuestion{"OpenFile", "", "Web Pages | *.html; *.htm|All Files | *.*||"}));
    EXPECT_EQ(dialogs.Count("YesNo"), 0);  // silent
    EXPECT_THAT(CodeLines(), ElementsAre("H2 {", "color: red;", "}"));
    EXPECT_EQ(editor->PageFolder(), folder);
    EXPECT_NE(Copy().find(Doc().BuildStyleBlock()), std::string::npos);
    EXPECT_EQ(ReadText(folder + "test.css"), kPreviewSheetMark + std::string(Doc().LineEnd()) + Doc().StyleSheetText());
    EXPECT_EQ(ReadText(page), kPage);
    EXPECT_THAT(browser.calls, ElementsAre("Navigate " + folder + "~styletemp.html"));
    ExpectViewsInStep();
}

TEST_F(Preview, ChangePreviewAsksAboutThePageStylesAndLeavesTheSheet) {
    dialogs.openFiles.push_back(page);
    dialogs.answers.push_back(Answer::Yes);
    editor->OnChangePreview();
    EXPECT_THAT(dialogs.Transcript(), ElementsAre("OpenFile: : Web Pages | *.html; *.htm; *.htm ||",
                                                  "YesNo: Query: Overide existing Style Sheet"));
    EXPECT_TRUE(CodeLines().empty());
    EXPECT_EQ(Copy().find("color: red"), std::string::npos);
    EXPECT_THAT(browser.calls, ElementsAre("Navigate " + folder + "~styletemp.html"));
}

TEST_F(Preview, RefreshRewritesOnlyTheCopyAndReloads) {
    dialogs.openFiles.push_back(page);
    editor->OnLoadPage();
    browser.calls.clear();
    Declare(Doc().FindRule("H2"), kFontSize, "20pt");
    editor->OnRefreshPreview();
    EXPECT_NE(Copy().find("font-size: 20pt;"), std::string::npos);
    EXPECT_EQ(ReadText(page), kPage);
    EXPECT_THAT(browser.calls, ElementsAre("Reload"));
    EXPECT_TRUE(dialogs.Messages().empty());
}

TEST_F(Preview, RefreshBeforeAnyPageDoesNothing) {
    editor->OnRefreshPreview();
    EXPECT_TRUE(browser.calls.empty());
    EXPECT_TRUE(dialogs.asked.empty());
}

TEST_F(Preview, APageWithoutStylesIsStillPreviewedAfterSayingSo) {
    const std::string plain = folder + "plain.html";
    std::ofstream(plain, std::ios::binary) << "<html><head></head><body>x</body></html>";
    Declare(1, kColor, "red");
    dialogs.answers = {Answer::No, Answer::No};  // Load page offers to save, each time
    dialogs.openFiles.push_back(plain);
    editor->OnLoadPage();
    EXPECT_EQ(dialogs.Messages().size(), 1u);
    EXPECT_EQ(CodeLines().size(), 3u);  // the sheet stays
    EXPECT_THAT(browser.calls, ElementsAre("Navigate " + folder + "~styletemp.html"));

    dialogs.Clear();
    dialogs.openFiles.push_back(folder + "missing.html");
    editor->OnLoadPage();
    EXPECT_EQ(dialogs.Messages().size(), 1u);  // said once, no preview attempted
    EXPECT_EQ(browser.calls.size(), 1u);
}

TEST(PreviewPage, WithoutABrowserSaysSoOnceAndShowsTheNoteOnTheFirstRequest) {
    FakeDialogs dialogs;
    CPreviewPage page(FailingBrowserFactory(), dialogs, nullptr);
    page.show();
    // Says what is missing on this system, not a component of another one.
    EXPECT_EQ(dialogs.Transcript(), std::vector<std::string>{std::string("Message: Larkspur: ") +
                                                             CPreviewPage::kCreateFailed});
    EXPECT_NE(dialogs.Messages()[0].find("Qt WebEngine"), std::string::npos);
    EXPECT_EQ(dialogs.Messages()[0].find("Internet Explorer"), std::string::npos);
    EXPECT_FALSE(page.MissingNote()->isVisible());
    page.Reload();
    page.Stop();
    EXPECT_FALSE(page.MissingNote()->isVisible());
    page.Navigate("/tmp/x.html");
    EXPECT_TRUE(page.MissingNote()->isVisible());
    EXPECT_TRUE(page.MissingNote()->text().startsWith("You need Qt WebEngine to use the preview function."));
    EXPECT_EQ(page.MissingNote()->textFormat(), Qt::PlainText);
    page.Navigate("/tmp/y.html");
    EXPECT_EQ(dialogs.asked.size(), 1u);
}

// ---- Help, clipboard, Info window and help line ----

TEST_F(EditorTest, HelpOpensTheStartPageOfTheCurrentFolderElseItsOwnCopy) {
    const QString home = QDir::currentPath();
    QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    editor->OnHelp();  // nothing here nor installed: the copy inside the program
    auto* help = qobject_cast<CHelpWindow*>(editor->HelpWindow());
    ASSERT_NE(help, nullptr);
    if (!QFileInfo::exists(QString::fromStdString(FindDataFile("qstart.html")))) {
        EXPECT_EQ(help->Browser()->source().toString(), "qrc:/qstart.html");
    }
    EXPECT_TRUE(help->Browser()->toPlainText().contains("Larkspur"));
    delete help;

    WriteText(dir.filePath("qstart.html").toStdString(), "<html><body><p>Local start page</p></body></html>");
    editor->OnHelp();
    help = qobject_cast<CHelpWindow*>(editor->HelpWindow());
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->Browser()->source().toLocalFile(), QFileInfo(dir.filePath("qstart.html")).absoluteFilePath());
    EXPECT_EQ(help->Browser()->toPlainText(), "Local start page");
    EXPECT_TRUE(desktop.opened.empty());
    delete help;
    QDir::setCurrent(home);
}

TEST_F(EditorTest, CopyToClipboardTakesTheSheetText) {
    Declare(1, kColor, "red");
    editor->OnCopyToClipboard();
    EXPECT_EQ(desktop.clipboard, Doc().StyleSheetText());
}

TEST_F(EditorTest, HelpLineShowsOnlyWhileTheInfoWindowIsOpen) {
    editor->ShowHelpLine("Size - the font size");
    EXPECT_TRUE(editor->StatusBar()->currentMessage().isEmpty());

    editor->OnInfo();
    QPointer<CInfoDlg> first = editor->InfoWindow();
    editor->OnInfo();
    EXPECT_TRUE(first.isNull());
    ASSERT_NE(editor->InfoWindow(), nullptr);
    EXPECT_EQ(editor->findChildren<CInfoDlg*>().size(), 1);

    editor->ShowHelpLine("Size - the font size");
    EXPECT_EQ(editor->InfoWindow()->Text(), "Size - the font size");
    EXPECT_EQ(editor->StatusBar()->currentMessage(), "Size - the font size");

    editor->InfoWindow()->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(editor->InfoWindow(), nullptr);
    editor->ShowHelpLine("Other");
    EXPECT_EQ(editor->StatusBar()->currentMessage(), "Size - the font size");
}

}  // namespace
}  // namespace larkspur::testing
