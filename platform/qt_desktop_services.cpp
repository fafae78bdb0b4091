#include "platform/qt_desktop_services.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QFileInfo>
#include <QGuiApplication>
#include <QUrl>

namespace larkspur {

void QtDesktopServices::SetClipboardText(const std::string& text) {
    QGuiApplication::clipboard()->setText(
        QString::fromStdString(text));
}

bool QtDesktopServices::OpenDocument(const std::string& path) {
    const QFileInfo file(QString::fromStdString(path));
    if (!file.exists()) return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(file.absoluteFilePath()));
}

}  // namespace larkspur
