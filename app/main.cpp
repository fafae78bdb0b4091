// Larkspur, the editor. Command line:
//   larkspur [--embedding | --automation] [FILE]
// --embedding (or --automation) marks a start by another program and skips
// the tip of the day; FILE, a .css file or an HTML page, is opened at once.
#include <QApplication>
#include <QCommandLineParser>

#include "app/about_dialog.h"
#include "app/editor_app.h"
#include "platform/qt_desktop_services.h"
#include "platform/qt_settings_store.h"
#include "platform/qt_user_dialogs.h"

int main(int argc, char** argv) {
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
