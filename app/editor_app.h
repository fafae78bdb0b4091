#pragma once
#include <functional>
#include <string>

#include "pages/browser.h"

class QCommandLineParser;
class QDialog;
class QWidget;

namespace larkspur {

class CEditorDlg;
class DesktopServices;
class SettingsStore;
class UserDialogs;

// What the command line asked for.
struct StartOptions {
    // Started for embedding or automation: no tip of the day.
    bool embedding = false;
    // A style sheet or HTML page to open at once.
    std::string file;
};

// The application: the start-up tip, the main window run until it closes,
// the tip command and the About box in the window's Help menu.
class CEditorApp {
public:
    CEditorApp(SettingsStore& settings, UserDialogs& dialogs, DesktopServices& desktop);

    static void AddCommandLineOptions(QCommandLineParser& parser);
    static StartOptions OptionsFrom(const QCommandLineParser& parser);

    // Where "tips.txt" is read from; found among the data folders unless set.
    void SetTipsPath(std::string path) { tipsPath_ = std::move(path); }
    std::string TipsPath() const;

    // Where the window keeps unsaved work for recovery; the user's data
    // folder unless set.
    void SetRecoveryFolder(std::string folder) { recoveryFolder_ = std::move(folder); }

    // Runs a modal dialog; tests replace it so that nothing blocks.
    using DialogRunner = std::function<int(QDialog&)>;
    void SetDialogRunner(DialogRunner runner) { runDialog_ = std::move(runner); }

    // Builds the tip dialog (which reads the next tip), shows it when the user
    // wants tips at start-up, and destroys it (which stores the position).
    // Nothing happens for an embedding start. True when it was shown.
    bool ShowTipAtStartup(const StartOptions& options, QWidget* parent = nullptr);
    // The tip command: build, show and destroy a tip dialog.
    void OnTipOfTheDay(QWidget* parent);
    void ShowAbout(QWidget* parent);

    // Adds Tip of the Day and About to the window's Help menu.
    void InstallHelpMenu(CEditorDlg& window);
    // Opens the file as Open does; an HTML page is also previewed, as Load page does.
    static void OpenStartFile(CEditorDlg& window, const std::string& path);

    // The whole run: the main window, the file named and the tip step over
    // it, the window until it closes. Returns the exit code.
    int Run(const StartOptions& options, const BrowserFactory& browsers);

private:
    SettingsStore& settings_;
    UserDialogs& dialogs_;
    DesktopServices& desktop_;
    std::string tipsPath_;
    std::string recoveryFolder_;
    DialogRunner runDialog_;
};

}  // namespace larkspur
