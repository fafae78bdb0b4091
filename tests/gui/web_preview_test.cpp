// The real browser, and the window with a sample page previewed. Set
// LARKSPUR_SCREENSHOT to a file name to save a picture of the window, and
// LARKSPUR_SCREENSHOT_HOT for one with the mouse over the Save button.
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QWebEngineView>
#include <fstream>

#include "controls/flat_toolbar.h"
#include "editor_fixture.h"
#include "pages/preview_page.h"

namespace larkspur::testing {
namespace {

constexpr const char* kSamplePage =
    "<html><head><title>Sample</title>\r\n"
    "<style type=\"text/css\">\r\n<!--\r\n"
    "BODY {\r\nbackground-color: #FFFFF0;\r\nfont-family: Georgia, serif;\r\n}\r\n"
    "H1 {\r\ncolor: #800000;\r\nfont-size: 24pt;\r\n}\r\n"
    ".note {\r\ncolor: #008080;\r\nfont-style: italic;\r\n}\r\n"
    "-->\r\n</style></head>\r\n"
    "<body><h1>Larkspur</h1><p>A paragraph in the page's own words.</p>"
    "<p class=\"note\">A note, styled by the class rule.</p></body></html>\r\n";

bool WaitForLoad(QWebEngineView*, QSignalSpy& spy) {
    return spy.count() > 0 || spy.wait(20000);
}

TEST(WebPreview, TheWebEngineBrowserShowsAPreviewCopy) {
    QTemporaryDir dir;
    const std::string page = dir.filePath("sample.html").toStdString();
    std::ofstream(page, std::ios::binary) << kSamplePage;

    FakeDialogs dialogs;
    FakeSettings settings;
    FakeDesktop desktop;
    CEditorDlg editor(dialogs, settings, desktop, WebEngineBrowserFactory());
    ASSERT_TRUE(editor.PreviewPage()->HasBrowser());
    auto* view = qobject_cast<QWebEngineView*>(editor.PreviewPage()->Browser()->Widget());
    ASSERT_NE(view, nullptr);
    editor.resize(1100, 620);
    editor.show();

    QSignalSpy loaded(view, &QWebEngineView::loadFinished);
    dialogs.openFiles.push_back(page);
    editor.OnLoadPage();
    ASSERT_TRUE(WaitForLoad(view, loaded));
    EXPECT_TRUE(loaded.back().at(0).toBool());
    EXPECT_EQ(view->url().toLocalFile().toStdString(), dir.path().toStdString() + "/~styletemp.html");
    EXPECT_EQ(view->title(), "Sample");

    const int row = editor.Document().FindRule(".note");
    ASSERT_GE(row, 0);
    editor.RuleListBox()->setCurrentRow(row);
    editor.PropertySheet()->setCurrentIndex(1);  // the Font page shows the rule's colour and style
    if (const QByteArray shot = qgetenv("LARKSPUR_SCREENSHOT"); !shot.isEmpty()) {
        QTest::qWait(1500);
        ASSERT_TRUE(editor.grab().save(QString::fromLocal8Bit(shot)));
    }
    if (const QByteArray shot = qgetenv("LARKSPUR_SCREENSHOT_HOT"); !shot.isEmpty()) {
        auto* bar = qobject_cast<CToolBarEx*>(editor.Toolbar());
        ASSERT_NE(bar, nullptr);
        const QPoint save = bar->ButtonRect(2).center();
        bar->SetCursorSource([bar, save] { return bar->mapToGlobal(save); });
        QTest::mouseMove(bar, save);
        ASSERT_EQ(bar->HotButton(), 2);
        QTest::qWait(300);
        ASSERT_TRUE(editor.grab().save(QString::fromLocal8Bit(shot)));
    }
    editor.Document().SetModified(false);
}

}  // namespace
}  // namespace larkspur::testing
