// The live preview with the recording browser: which changes reach the
// preview, how they are gathered, and what the toggle and Refresh do.
#include <QAction>
#include <QTemporaryDir>
#include <filesystem>
#include <functional>
#include <stdexcept>

#include "css/html_embed.h"
#include "editor_fixture.h"
#include "controls/property_edit.h"
#include "page_driving.h"
#include "pages/font_page.h"
#include "pages/live_preview.h"

namespace larkspur::testing {
namespace {

using ::testing::ElementsAre;

class LiveTest : public EditorTest {
public:
    using EditorTest::Check;
    using EditorTest::Declare;
    using EditorTest::Select;

    void SetUp() override {
        EditorTest::SetUp();
        folder = dir.path().toStdString() + "/";
        WriteText(folder + "page.html",
                  "<html><head><title>t</title><style>H1 {\r\ncolor: red;\r\n}\r\nH2 {\r\nfont-size: 12pt;\r\n}\r\n"
                  "</style></head><body><h1>x</h1></body></html>");
    }
    // Load page: the page's sheet becomes the document's.
    void LoadPage() {
        dialogs.openFiles.push_back(folder + "page.html");
        editor->OnLoadPage();
        ASSERT_TRUE(dialogs.Messages().empty());
        dialogs.Clear();
        browser.calls.clear();
    }
    int Row(const char* selector) { return Doc().FindRule(selector); }
    // Lets the gathering timer run out (twice its time at most).
    void Settle() {
        for (int i = 0; i < 10 && editor->Live()->Pending(); ++i) QTest::qWait(LivePreview::kDelayMs / 4);
        QTest::qWait(LivePreview::kDelayMs / 4);
        ASSERT_FALSE(editor->Live()->Pending());
    }
    void ExpectOneUpdateWithTheSheet() {
        EXPECT_THAT(browser.calls, ElementsAre("Script"));
        ASSERT_FALSE(browser.scripts.empty());
        EXPECT_EQ(browser.scripts.back(), LivePreview::StyleScript(Doc().StyleSheetText()).toStdString());
    }
    QAction* Toggle() { return editor->CommandAction(kCmdLivePreview); }

    QTemporaryDir dir;
    std::string folder;
    using EditorTest::dialogs;
    using EditorTest::editor;
};

struct ChangeCase {
    const char* name;
    std::function<void(LiveTest&)> change;
};

class LiveChanges : public LiveTest, public ::testing::WithParamInterface<ChangeCase> {};

// Every kind of change to the sheet reaches the preview, once and without
// waiting out the gathering time, with the sheet as it now is; the files on
// disk stay as the load wrote them.
TEST_P(LiveChanges, EachChangeIsOneUpdateWithTheWholeSheet) {
    LoadPage();
    const std::string copy = ReadText(folder + kPreviewFileName);
    const std::string sheet = ReadText(folder + kPreviewSheetName);
    EXPECT_EQ(sheet, kPreviewSheetMark + std::string(Doc().LineEnd()) + Doc().StyleSheetText());
    Settle();
    browser.calls.clear();

    const std::string before = Doc().StyleSheetText();
    GetParam().change(*this);
    ASSERT_NE(Doc().StyleSheetText(), before);
    QTest::qWait(LivePreview::kDelayMs / 4);
    ExpectOneUpdateWithTheSheet();
    Settle();
    ExpectOneUpdateWithTheSheet();
    EXPECT_EQ(ReadText(folder + kPreviewFileName), copy);
    EXPECT_EQ(ReadText(folder + kPreviewSheetName), sheet);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, LiveChanges,
    ::testing::Values(
        ChangeCase{"Value", [](LiveTest& t) { t.Declare(t.Row("H2"), kFontSize, "14pt"); }},
        ChangeCase{"NewDeclaration", [](LiveTest& t) { t.Declare(t.Row("H1"), kFontSize, "2em"); }},
        ChangeCase{"NewRule", [](LiveTest& t) { t.Declare(t.Row("P"), kColor, "blue"); }},
        ChangeCase{"Uncheck",
                   [](LiveTest& t) {
                       t.Check(t.Row("H1"), false);
                       t.Select(0);
                       t.Select(t.Row("H1"));  // the rule leaves the listing when shown
                   }},
        ChangeCase{"Clear",
                   [](LiveTest& t) {
                       t.Select(t.Row("H2"));
                       t.editor->OnClearRule();
                   }},
        ChangeCase{"Delete",
                   [](LiveTest& t) {
                       t.Select(t.Row("H1"));
                       t.dialogs.answers.push_back(Answer::Yes);
                       t.editor->OnDeleteRule();
                   }},
        ChangeCase{"Rename",
                   [](LiveTest& t) {
                       t.Select(t.Row("H1"));
                       t.dialogs.renames.push_back(".main");
                       t.editor->OnRenameRule();
                   }},
        ChangeCase{"NewSheet",
                   [](LiveTest& t) {
                       t.dialogs.answers.push_back(Answer::No);
                       t.editor->OnNewSheet();
                   }},
        ChangeCase{"Open",
                   [](LiveTest& t) {
                       WriteText(t.folder + "other.css", "P {\r\ncolor: green;\r\n}\r\n");
                       t.dialogs.answers.push_back(Answer::No);
                       t.dialogs.openFiles.push_back(t.folder + "other.css");
                       t.editor->OnOpen();
                   }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(LiveTest, TypingIsGatheredIntoOneUpdatePerPause) {
    LoadPage();
    Select(Row("H1"));
    CPropertyPage& font = FontPage();
    Click(font, 1059);  // Size
    Click(font, 1049);  // Value
    Settle();
    browser.calls.clear();

    // Right after an update, a burst of keys waits for the rest of the
    // gathering time and goes out as one.
    Retype(font.Edit(1053), "18");
    EXPECT_EQ(Doc().Rules()[Row("H1")].properties[kFontSize].value, "18%");
    EXPECT_TRUE(editor->Live()->Pending());
    Settle();
    ExpectOneUpdateWithTheSheet();

    // Keys arriving more slowly than the gathering time are each shown.
    browser.calls.clear();
    for (const char* key : {"0", "5"}) {
        TypeText(font.Edit(1053), key);
        Settle();
    }
    EXPECT_THAT(browser.calls, ElementsAre("Script", "Script"));
    EXPECT_EQ(browser.scripts.back(), LivePreview::StyleScript(Doc().StyleSheetText()).toStdString());
}

TEST_F(LiveTest, NothingIsSentBeforeAPageIsShownOrRightAfterItIsLoaded) {
    Declare(1, kColor, "red");
    Settle();
    EXPECT_THAT(browser.calls, ElementsAre());
    dialogs.answers.push_back(Answer::No);
    dialogs.openFiles.push_back(folder + "page.html");
    editor->OnLoadPage();  // reading the page's sheet changed the listing; the copy has it
    ASSERT_NE(Row("H2"), -1);
    Settle();
    EXPECT_THAT(browser.calls, ElementsAre("Navigate " + folder + kPreviewFileName));
}

TEST_F(LiveTest, TheToggleStopsUpdatesIsStoredAndCatchesUpWhenTurnedOn) {
    LoadPage();
    ASSERT_TRUE(Toggle()->isCheckable());
    EXPECT_TRUE(Toggle()->isChecked());  // on unless the settings say otherwise
    EXPECT_EQ(Toggle()->text(), "Live Preview");

    Toggle()->trigger();
    EXPECT_FALSE(Toggle()->isChecked());
    EXPECT_EQ(settings.ints["Settings/LivePreview"], 0);
    Declare(1, kColor, "red");
    EXPECT_FALSE(editor->Live()->Pending());
    QTest::qWait(2 * LivePreview::kDelayMs);
    EXPECT_THAT(browser.calls, ElementsAre());

    Toggle()->trigger();
    EXPECT_EQ(settings.ints["Settings/LivePreview"], 1);
    Settle();
    ExpectOneUpdateWithTheSheet();

    // A new window starts as the settings say.
    settings.ints["Settings/LivePreview"] = 0;
    MakeEditor();
    EXPECT_FALSE(Toggle()->isChecked());
    EXPECT_FALSE(editor->Live()->Enabled());
}

TEST_F(LiveTest, RefreshStaysAsItWasAndTakesAPendingUpdateWithIt) {
    LoadPage();
    Declare(1, kColor, "red");
    ASSERT_TRUE(editor->Live()->Pending());
    const std::string sheet = ReadText(folder + kPreviewSheetName);
    editor->OnRefreshPreview();
    EXPECT_FALSE(editor->Live()->Pending());
    EXPECT_NE(ReadText(folder + kPreviewFileName).find("color: red;"), std::string::npos);
    EXPECT_EQ(ReadText(folder + kPreviewSheetName), sheet);  // Refresh does not write it
    QTest::qWait(2 * LivePreview::kDelayMs);
    EXPECT_THAT(browser.calls, ElementsAre("Reload"));
}

TEST_F(LiveTest, WithoutTheStyleElementTheCopyIsRewrittenAndReloadedInPlace) {
    LoadPage();
    browser.scriptValue = false;
    Declare(1, kColor, "red");
    Settle();
    EXPECT_THAT(browser.calls, ElementsAre("Script", "ReloadKeepingScroll"));
    EXPECT_NE(ReadText(folder + kPreviewFileName).find("color: red;"), std::string::npos);

    // A script that never ran (the page went away) changes nothing.
    browser.calls.clear();
    browser.scriptValue = QVariant();
    Declare(1, kColor, "blue");
    Settle();
    EXPECT_THAT(browser.calls, ElementsAre("Script"));
    EXPECT_EQ(ReadText(folder + kPreviewFileName).find("color: blue;"), std::string::npos);

    // A copy that cannot be rewritten is said in the status bar, not in a box.
    browser.calls.clear();
    browser.scriptValue = false;
    std::filesystem::remove(folder + kPreviewFileName);
    Declare(1, kColor, "green");
    Settle();
    EXPECT_THAT(browser.calls, ElementsAre("Script"));
    EXPECT_TRUE(dialogs.asked.empty());
    EXPECT_FALSE(editor->StatusBar()->currentMessage().isEmpty());
}

}  // namespace
}  // namespace larkspur::testing
