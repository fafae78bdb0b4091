// Larkspur, the editor. Command line:
//   larkspur [--embedding | --automation] [FILE]
// --embedding (or --automation) marks a start by another program and skips
// the tip of the day; FILE, a .css file or an HTML page, is opened at once.
#include <unistd.h>

#include <QApplication>
#include <QCommandLineParser>

#include "app/about_dialog.h"
#include "app/editor_app.h"
#include "platform/qt_desktop_services.h"
#include "platform/qt_settings_store.h"
#include "platform/qt_user_dialogs.h"

int main(int argc, char** argv) {
    // The browser engine will not start as root with its sandbox on; a
    // preview is a local page of the user's own, so run it without.
    if (::geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    // The preview's web view shares its graphics context with the window.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Fernhollow"));
    QCoreApplication::setApplicationName(QStringLiteral("Larkspur"));
    QCoreApplication::setApplicationVersion(QStringLiteral(LARKSPUR_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("larkspur"));
    QApplication::setWindowIcon(larkspur::ApplicationIcon());

    QCommandLineParser parser;
    larkspur::CEditorApp::AddCommandLineOptions(parser);
    parser.process(app);

    larkspur::QtSettingsStore settings;
    larkspur::QtUserDialogs dialogs;
    larkspur::QtDesktopServices desktop;
    larkspur::CEditorApp editor(settings, dialogs, desktop);
    return editor.Run(larkspur::CEditorApp::OptionsFrom(parser), larkspur::WebEngineBrowserFactory());
}
