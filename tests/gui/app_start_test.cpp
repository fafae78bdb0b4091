#include <gtest/gtest.h>

#include <unistd.h>

#include <QAction>
#include <QCheckBox>
#include <QCommandLineParser>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSettings>
#include <filesystem>
#include <fstream>
#include <memory>

#include "app/about_dialog.h"
#include "app/editor_app.h"
#include "app/tip_dialog.h"
#include "css/file_io.h"
#include "editor/editor_dlg.h"
#include "editor/recovery_file.h"
#include "fake_browser.h"
#include "fake_platform.h"
#include "platform/qt_settings_store.h"

namespace larkspur {
namespace {

namespace fs = std::filesystem;
using testing::FakeDesktop;
using testing::FakeDialogs;
using testing::FakeSettings;

class AppTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("larkspur-app-" + std::to_string(::getpid()));
        fs::create_directories(dir);
        tips = (dir / "tips.txt").string();
        std::ofstream(tips) << "; Larkspur tips\n\nAlpha\nBeta\nGamma\n";
        app = std::make_unique<CEditorApp>(settings, dialogs, desktop);
        app->SetTipsPath(tips);
        app->SetRecoveryFolder((dir / "recovery").string());
        app->SetDialogRunner([this](QDialog& d) {
            shown.push_back(d.metaObject()->className());
            if (auto* tip = qobject_cast<CTipDlg*>(&d)) {
                tipsSeen.push_back(tip->TipText().toStdString());
                tipParent = tip->parentWidget();
            }
            return int(QDialog::Rejected);
        });
    }
    void TearDown() override { fs::remove_all(dir); }

    std::unique_ptr<CEditorDlg> MakeWindow() {
        return std::make_unique<CEditorDlg>(dialogs, settings, desktop,
                                            testing::FakeBrowserFactory(browser));
    }
    static StartOptions Parse(QStringList args) {
        QCommandLineParser parser;
        CEditorApp::AddCommandLineOptions(parser);
        EXPECT_TRUE(parser.parse(args)) << parser.errorText().toStdString();
        return CEditorApp::OptionsFrom(parser);
    }

    fs::path dir;
    std::string tips;
    FakeSettings settings;
    FakeDialogs dialogs;
    FakeDesktop desktop;
    testing::BrowserLog browser;
    std::unique_ptr<CEditorApp> app;
    std::vector<std::string> shown;
    std::vector<std::string> tipsSeen;
    QWidget* tipParent = reinterpret_cast<QWidget*>(1);
};

TEST_F(AppTest, CommandLineSwitchesAndFile) {
    StartOptions plain = Parse({"larkspur"});
    EXPECT_FALSE(plain.embedding);
    EXPECT_EQ(plain.file, "");
    StartOptions embedded = Parse({"larkspur", "--embedding", "sheet.css"});
    EXPECT_TRUE(embedded.embedding);
    EXPECT_EQ(embedded.file, "sheet.css");
    EXPECT_TRUE(Parse({"larkspur", "--automation"}).embedding);
    EXPECT_EQ(Parse({"larkspur", "/tmp/a page.html"}).file, "/tmp/a page.html");
}

// Every ordinary start reads one tip, whether or not the dialog is shown.
TEST_F(AppTest, StartUpTipStepAdvancesThePositionAndShowsWhenWanted) {
    const StartOptions ordinary;
    EXPECT_TRUE(app->ShowTipAtStartup(ordinary));
    EXPECT_EQ(tipsSeen, std::vector<std::string>{"Alpha"});
    EXPECT_EQ(tipParent, nullptr);
    const int afterFirst = settings.GetInt("Tip", "FilePos", -1);
    EXPECT_EQ(afterFirst, 23);  // just past "Alpha\n"

    settings.ints["Tip/StartUp"] = 1;  // the user asked for no tips
    EXPECT_FALSE(app->ShowTipAtStartup(ordinary));
    EXPECT_EQ(settings.GetInt("Tip", "FilePos", -1), afterFirst + 5);  // "Beta\n" read unseen
    EXPECT_EQ(shown.size(), 1u);

    settings.writes.clear();
    StartOptions embedding;
    embedding.embedding = true;
    EXPECT_FALSE(app->ShowTipAtStartup(embedding));
    EXPECT_TRUE(settings.writes.empty());

    settings.ints["Tip/StartUp"] = 0;
    app->ShowTipAtStartup(ordinary);
    EXPECT_EQ(tipsSeen, (std::vector<std::string>{"Alpha", "Gamma"}));
    app->ShowTipAtStartup(ordinary);
    EXPECT_EQ(tipsSeen.back(), "Alpha");  // wrapped round
}

TEST_F(AppTest, HelpMenuOffersQuickStartTipAndAbout) {
    auto window = MakeWindow();
    app->InstallHelpMenu(*window);
    QMenu* help = window->Menu(EditorMenu::kHelp);
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->menuAction()->text(), "&Help");
    QStringList texts;
    for (QAction* a : help->actions()) texts << (a->isSeparator() ? "|" : a->text());
    EXPECT_EQ(texts, QStringList({"&Quick Start", "Ti&p of the Day...", "|", "&About Larkspur..."}));
    EXPECT_EQ(help->actions()[1]->statusTip(), "Displays a Tip of the Day.");

    help->actions()[1]->trigger();
    EXPECT_EQ(shown, std::vector<std::string>{"larkspur::CTipDlg"});
    EXPECT_EQ(tipParent, window.get());
    EXPECT_EQ(tipsSeen, std::vector<std::string>{"Alpha"});
    help->actions()[3]->trigger();
    EXPECT_EQ(shown.back(), "larkspur::CAboutDlg");

    // Quick Start is the window's own Help command, whatever the desktop offers.
    EXPECT_EQ(help->actions()[0], window->CommandAction(kCmdHelp));
}

TEST_F(AppTest, FileOnTheCommandLineIsOpenedWithoutAskingForIt) {
    const std::string css = (dir / "sheet.css").string();
    std::ofstream(css) << "H1 {\ncolor: red;\n}\n";
    const std::string page = (dir / "page.html").string();
    std::ofstream(page) << "<html><head><style>\nP {\ncolor: blue;\n}\n</style></head><body></body></html>\n";

    auto window = MakeWindow();
    CEditorApp::OpenStartFile(*window, css);
    EXPECT_EQ(window->CurrentFile(), css);
    EXPECT_FALSE(window->Document().Modified());
    EXPECT_TRUE(window->Document().IsChecked(window->Document().FindRule("H1")));
    EXPECT_EQ(dialogs.Count("OpenFile"), 0);

    window = MakeWindow();
    dialogs.Clear();
    CEditorApp::OpenStartFile(*window, page);
    EXPECT_EQ(window->CurrentFile(), page);
    EXPECT_EQ(window->PageFolder(), FolderOf(page));  // previewed as Load page does
    EXPECT_FALSE(window->Document().Modified());
    EXPECT_TRUE(window->Document().IsChecked(window->Document().FindRule("P")));
    EXPECT_EQ(dialogs.Count("OpenFile"), 0);

    // A missing file is reported once, and the next Open asks the user again.
    window = MakeWindow();
    dialogs.Clear();
    CEditorApp::OpenStartFile(*window, (dir / "missing.html").string());
    EXPECT_EQ(dialogs.Messages().size(), 1u);
    EXPECT_EQ(window->CurrentFile(), "");
    window->OnOpen();
    EXPECT_EQ(dialogs.Count("OpenFile"), 1);
}

// The window is up, with the file named, before the tip opens over it.
TEST_F(AppTest, RunShowsTheWindowThenTheTipOverItThenRunsTheWindow) {
    const std::string css = (dir / "sheet.css").string();
    std::ofstream(css) << "H1 {\ncolor: red;\n}\n";
    QWidget* window = nullptr;
    app->SetDialogRunner([&](QDialog& d) {
        shown.push_back(d.metaObject()->className());
        if (qobject_cast<CTipDlg*>(&d)) {
            auto* owner = qobject_cast<CEditorDlg*>(d.parentWidget());
            EXPECT_TRUE(owner && owner->isVisible());
            EXPECT_EQ(owner ? owner->CurrentFile() : "", css);
        }
        if (qobject_cast<CEditorDlg*>(&d)) {
            window = &d;
            EXPECT_NE(d.findChild<QMenuBar*>(), nullptr);
            EXPECT_FALSE(d.windowIcon().isNull());
            EXPECT_TRUE(d.windowTitle().contains("Larkspur"));
        }
        return int(QDialog::Accepted);
    });
    EXPECT_EQ(app->Run(StartOptions{false, css}, testing::FakeBrowserFactory(browser)), 0);
    EXPECT_EQ(shown, (std::vector<std::string>{"larkspur::CTipDlg", "larkspur::CEditorDlg"}));
    EXPECT_NE(window, nullptr);

    shown.clear();
    EXPECT_EQ(app->Run(StartOptions{true, ""}, testing::FakeBrowserFactory(browser)), 0);
    EXPECT_EQ(shown, std::vector<std::string>{"larkspur::CEditorDlg"});
}

// Work a crash left behind is offered before the file named is opened, and
// that same file is not opened over it; a start by another program leaves it.
TEST_F(AppTest, RunOffersWorkLeftByACrashFirst) {
    const std::string css = (dir / "sheet.css").string();
    std::ofstream(css) << "H1 {\ncolor: red;\n}\n";
    RecoveryRecord left;
    left.pid = 0x3fffffff;  // above any pid the system gives
    left.path = css;
    left.text = "H1 {\ncolor: blue;\n}\n";
    ASSERT_TRUE(WriteRecoveryFile((dir / "recovery").string(), left));
    settings.ints["Tip/StartUp"] = 1;
    std::string text;
    bool modified = false;
    app->SetDialogRunner([&](QDialog& d) {
        if (auto* window = qobject_cast<CEditorDlg*>(&d)) {
            text = window->Document().StyleSheetText();
            modified = window->Document().Modified();
        }
        return int(QDialog::Accepted);
    });
    app->Run(StartOptions{true, css}, testing::FakeBrowserFactory(browser));
    EXPECT_TRUE(dialogs.asked.empty());
    EXPECT_EQ(text, "H1 {\ncolor: red;\n}\n");

    dialogs.choices = {0};
    app->Run(StartOptions{false, css}, testing::FakeBrowserFactory(browser));
    EXPECT_EQ(dialogs.Count("Choice"), 1);
    EXPECT_EQ(dialogs.asked.size(), 1u);
    EXPECT_EQ(text, left.text);
    EXPECT_TRUE(modified);
}

// The tip values go to the per-user store under "Fernhollow"/"Larkspur".
TEST_F(AppTest, TipSettingsRoundTripThroughTheUserStore) {
    QSettings("Fernhollow", "Larkspur").remove("Tip");
    QtSettingsStore store;
    {
        CTipDlg tip(store, dialogs, tips);
        EXPECT_EQ(tip.TipText(), "Alpha");
        tip.StartupBox()->setChecked(false);
        tip.CloseButton()->click();
    }
    {
        QSettings raw("Fernhollow", "Larkspur");
        EXPECT_EQ(raw.value("Tip/StartUp").toInt(), 1);
        EXPECT_EQ(raw.value("Tip/FilePos").toInt(), 23);
        EXPECT_EQ(raw.value("Tip/TimeStamp").toString().toStdString(), FileTimeStamp(tips));
    }
    CTipDlg again(store, dialogs, tips);
    EXPECT_EQ(again.Startup(), 0);
    EXPECT_FALSE(again.StartupBox()->isChecked());
    EXPECT_EQ(again.TipText(), "Beta");
    QSettings("Fernhollow", "Larkspur").remove("Tip");
}

}  // namespace
}  // namespace larkspur
