// The live preview in the real browser: a change shows without Refresh and
// without moving the page. Set LARKSPUR_MEASURE_LIVE to also run the timing
// probe with 1,000 listed rules (it prints figures; it never fails on time).
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <algorithm>
#include <cstdio>

#include "editor_fixture.h"
#include "controls/property_edit.h"
#include "page_driving.h"
#include "pages/font_page.h"
#include "pages/live_preview.h"
#include "pages/preview_page.h"
#include "web_script.h"

namespace larkspur::testing {
namespace {

enum : int { kValueEdit = 1053 };  // the Font page's size number

// A page long enough to scroll, with a style element of its own.
std::string TallPage(const std::string& rules) {
    std::string page = "<html><head><title>Tall</title>\r\n<style type=\"text/css\">\r\n<!--\r\n" + rules +
                       "-->\r\n</style></head>\r\n<body><h1 id=\"top\">Larkspur</h1>\r\n";
    for (int i = 0; i < 200; ++i) page += "<p>Paragraph " + std::to_string(i) + " of a long page.</p>\r\n";
    return page + "<h1 id=\"end\" class=\"end\">End</h1></body></html>\r\n";
}

class WebLive : public ::testing::Test {
protected:
    void Open(const std::string& rules) {
        page = dir.filePath("tall.html").toStdString();
        WriteText(page, TallPage(rules));
        editor = std::make_unique<CEditorDlg>(dialogs, settings, desktop, WebEngineBrowserFactory());
        ASSERT_TRUE(editor->PreviewPage()->HasBrowser());
        view = qobject_cast<QWebEngineView*>(editor->PreviewPage()->Browser()->Widget());
        ASSERT_NE(view, nullptr);
        editor->resize(1100, 620);
        editor->show();
        loads = std::make_unique<QSignalSpy>(view, &QWebEngineView::loadFinished);
        ASSERT_TRUE(loads->wait(20000));  // the blank page
        dialogs.openFiles.push_back(page);
        editor->OnLoadPage();
        ASSERT_TRUE(loads->wait(20000));
        ASSERT_TRUE(loads->back().at(0).toBool());
    }
    void TearDown() override {
        if (editor) editor->Document().SetModified(false);
    }

    QVariant Eval(const QString& script) { return RunScript(view->page(), script); }
    int ScrollY() { return Eval(QStringLiteral("window.scrollY")).toInt(); }
    std::string LastStyleText() {
        return Eval(QStringLiteral("(function(){ var s = document.getElementsByTagName('style');"
                                   " return s[s.length - 1].textContent; })()"))
            .toString()
            .toStdString();
    }
    QString FontSizeOf(const char* id) {
        return Eval(QStringLiteral("getComputedStyle(document.getElementById('%1')).fontSize").arg(id)).toString();
    }
    CPropertyPage& FontPage() {
        for (CPropertyPage* p : editor->Pages())
            if (p->ResourceId() == CFontPage::kResourceId) return *p;
        throw std::logic_error("no Font page");
    }
    // Selects the rule and types a new size number into the Font page.
    void TypeSize(const char* selector, const QString& number) {
        editor->RuleListBox()->setCurrentRow(editor->Document().FindRule(selector));
        Retype(FontPage().Edit(kValueEdit), number);
    }

    QTemporaryDir dir;
    std::string page;
    FakeDialogs dialogs;
    FakeSettings settings;
    FakeDesktop desktop;
    std::unique_ptr<CEditorDlg> editor;
    QWebEngineView* view = nullptr;
    std::unique_ptr<QSignalSpy> loads;
};

TEST_F(WebLive, AChangeReplacesTheStyleTextInPlaceAndKeepsTheScroll) {
    // Only the end, far below the view, changes size: nothing above it moves.
    Open(".end {\r\nfont-size: 24pt;\r\n}\r\n");
    EXPECT_EQ(FontSizeOf("end"), "32px");
    Eval(QStringLiteral("window.scrollTo(0, 900); window.stayed = 'yes';"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return ScrollY() == 900; }, 5000));

    QSignalSpy updated(editor->Live(), &LivePreview::Updated);
    TypeSize(".end", "30");
    ASSERT_TRUE(QTest::qWaitFor([&] { return LastStyleText() == editor->Document().StyleSheetText(); }, 5000));
    EXPECT_NE(LastStyleText().find("font-size: 30pt;"), std::string::npos);
    ASSERT_FALSE(updated.isEmpty());
    EXPECT_TRUE(updated.back().at(0).toBool());  // in place
    EXPECT_EQ(FontSizeOf("end"), "40px");
    EXPECT_EQ(ScrollY(), 900);
    EXPECT_EQ(Eval(QStringLiteral("window.stayed")).toString(), "yes");  // not reloaded
    EXPECT_EQ(loads->count(), 2);

    // With its style element gone the copy is rewritten and reloaded, and the
    // page comes back where it was.
    Eval(QStringLiteral("var s = document.getElementsByTagName('style'); s[s.length - 1].remove();"));
    TypeSize(".end", "36");
    ASSERT_TRUE(loads->wait(20000));
    EXPECT_FALSE(updated.back().at(0).toBool());
    EXPECT_TRUE(QTest::qWaitFor([&] { return FontSizeOf("end") == "48px" && ScrollY() == 900; }, 5000))
        << FontSizeOf("end").toStdString() << " " << ScrollY();
    EXPECT_TRUE(Eval(QStringLiteral("window.stayed")).isNull());

    // Refresh is as before: a plain reload of the rewritten copy.
    const int before = loads->count();
    editor->OnRefreshPreview();
    ASSERT_TRUE(loads->wait(20000));
    EXPECT_EQ(loads->count(), before + 1);
    EXPECT_EQ(FontSizeOf("end"), "48px");
}

// Time from a keystroke in the Font page to the new size being in effect in
// the preview (computed style read back), with 1,000 listed rules.
TEST_F(WebLive, TimingProbeWithAThousandRules) {
    if (qEnvironmentVariableIsEmpty("LARKSPUR_MEASURE_LIVE")) GTEST_SKIP() << "set LARKSPUR_MEASURE_LIVE to run";
    std::string rules;
    for (int i = 0; i < 999; ++i)
        rules += ".r" + std::to_string(i) + " {\r\ncolor: #" + std::to_string(100000 + i) +
                 ";\r\nmargin-left: " + std::to_string(i % 40) + "px;\r\n}\r\n";
    rules += "H1 {\r\nfont-size: 10pt;\r\n}\r\n";
    Open(rules);
    ASSERT_EQ(editor->Document().GetListing().Count(), 999 * 4 + 3);
    QSignalSpy updated(editor->Live(), &LivePreview::Updated);
    editor->RuleListBox()->setCurrentRow(editor->Document().FindRule("H1"));
    QLineEdit* edit = FontPage().Edit(kValueEdit);

    std::vector<double> keyHandled, toScript, toStyle;
    for (int key = 0; key < 27; ++key) {
        const int digit = 1 + key % 9;
        edit->selectAll();  // the key replaces the number: one keystroke, one change
        QElapsedTimer clock;
        clock.start();
        TypeText(edit, QString::number(digit));
        keyHandled.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
        const int before = updated.count();
        ASSERT_TRUE(QTest::qWaitFor([&] { return updated.count() > before; }, 5000));
        toScript.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
        FontSizeOf("end");  // the style worked out again, with the new rule
        toStyle.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
        EXPECT_NE(LastStyleText().find("font-size: " + std::to_string(digit) + "pt;"), std::string::npos);
        QTest::qWait(LivePreview::kDelayMs * 2);
    }
    // The part of an update the window's own thread does.
    std::vector<double> scriptBuilt;
    for (int i = 0; i < 27; ++i) {
        QElapsedTimer clock;
        clock.start();
        const QString script = LivePreview::StyleScript(editor->Document().StyleSheetText());
        scriptBuilt.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
        ASSERT_FALSE(script.isEmpty());
    }
    const auto report = [](const char* what, std::vector<double>& ms) {
        std::sort(ms.begin(), ms.end());
        std::printf("  %-34s median %6.1f ms  max %6.1f ms\n", what, ms[ms.size() / 2], ms.back());
    };
    std::printf("live preview, %d listed lines, %zu keystrokes, gathering time %d ms:\n",
                editor->Document().GetListing().Count(), toScript.size(), LivePreview::kDelayMs);
    report("key handled (listing, Code page)", keyHandled);
    report("sheet text and script built", scriptBuilt);
    report("style text replaced in the page", toScript);
    report("new style in effect (read back)", toStyle);
}

}  // namespace
}  // namespace larkspur::testing
