#include "app/editor_app.h"

#include <QAction>
#include <QCommandLineParser>
#include <QDialog>
#include <QMenu>

#include "app/about_dialog.h"
#include "app/data_files.h"
#include "app/tip_dialog.h"
#include "editor/editor_dlg.h"
#include "editor/recovery_keeper.h"

namespace larkspur {

namespace {

const char kEmbeddingOption[] = "embedding";

}  // namespace

CEditorApp::CEditorApp(SettingsStore& settings, UserDialogs& dialogs, DesktopServices& desktop)
    : settings_(settings),
      dialogs_(dialogs),
      desktop_(desktop),
      runDialog_([](QDialog& dialog) { return dialog.exec(); }) {}

void CEditorApp::AddCommandLineOptions(QCommandLineParser& parser) {
    parser.setApplicationDescription(QStringLiteral("Larkspur, an editor for CSS style sheets."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOption(QCommandLineOption(
        {QString::fromLatin1(kEmbeddingOption), QStringLiteral("automation")},
        QStringLiteral("Started by another program: skip the tip of the day.")));
    parser.addPositionalArgument(QStringLiteral("file"),
                                 QStringLiteral("A style sheet (.css) or an HTML page to open; a page is also "
                                                "previewed."),
                                 QStringLiteral("[file]"));
}

StartOptions CEditorApp::OptionsFrom(const QCommandLineParser& parser) {
    StartOptions options;
    options.embedding = parser.isSet(QString::fromLatin1(kEmbeddingOption));
    const QStringList files = parser.positionalArguments();
    if (!files.isEmpty()) options.file = files.first().toStdString();
    return options;
}

std::string CEditorApp::TipsPath() const {
    return tipsPath_.empty() ? FindDataFile("tips.txt") : tipsPath_;
}

bool CEditorApp::ShowTipAtStartup(const StartOptions& options, QWidget* parent) {
    if (options.embedding) return false;
    CTipDlg tip(settings_, dialogs_, TipsPath(), parent);
    if (tip.Startup() != 1) return false;
    runDialog_(tip);
    return true;
}

void CEditorApp::OnTipOfTheDay(QWidget* parent) {
    CTipDlg tip(settings_, dialogs_, TipsPath(), parent);
    runDialog_(tip);
}

void CEditorApp::ShowAbout(QWidget* parent) {
    CAboutDlg about(parent);
    runDialog_(about);
}

void CEditorApp::InstallHelpMenu(CEditorDlg& window) {
    QMenu* help = window.Menu(EditorMenu::kHelp);
    QAction* tip = help->addAction(QStringLiteral("Ti&p of the Day..."), [this, &window] { OnTipOfTheDay(&window); });
    tip->setStatusTip(QStringLiteral("Displays a Tip of the Day."));
    help->addSeparator();
    help->addAction(QStringLiteral("&About Larkspur..."), [this, &window] { ShowAbout(&window); });
}

void CEditorApp::OpenStartFile(CEditorDlg& window, const std::string& path) { window.OpenDocumentFile(path); }

int CEditorApp::Run(const StartOptions& options, const BrowserFactory& browsers) {
    CEditorDlg window(dialogs_, settings_, desktop_, browsers);
    window.setWindowIcon(ApplicationIcon());
    InstallHelpMenu(window);
    if (!recoveryFolder_.empty()) window.Recovery().SetFolder(recoveryFolder_);
    // The window comes first, with its file; the tip and any message about
    // the file open over it.
    window.show();
    // Work a crash left behind comes first; a start by another program
    // leaves it for the next ordinary start.
    const bool restored = !options.embedding && window.OfferRecovery();
    if (!restored || options.file != window.CurrentFile()) OpenStartFile(window, options.file);
    ShowTipAtStartup(options, &window);
    // Closing the window, whichever way, ends the program.
    runDialog_(window);
    return 0;
}

}  // namespace larkspur
