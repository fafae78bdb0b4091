#include "platform/qt_file_watcher.h"

#include <QFileInfo>

namespace larkspur {

QtFileWatcher::QtFileWatcher() {
    QObject::connect(&watcher_, &QFileSystemWatcher::fileChanged, &watcher_,
                     [this](const QString& path) { FileChanged(path); });
    QObject::connect(&watcher_, &QFileSystemWatcher::directoryChanged, &watcher_,
                     [this](const QString& folder) { FolderChanged(folder); });
}

void QtFileWatcher::Watch(const std::string& path) {
    if (path.empty()) return;
    const QString name = QString::fromStdString(path);
    paths_.insert(name);
    Rewatch(name);
}

void QtFileWatcher::Unwatch(const std::string& path) {
    const QString name = QString::fromStdString(path);
    if (!paths_.remove(name)) return;
    watcher_.removePath(name);
    const QString folder = QFileInfo(name).absolutePath();
    for (const QString& other : paths_)
        if (QFileInfo(other).absolutePath() == folder) return;
    watcher_.removePath(folder);
}

void QtFileWatcher::Rewatch(const QString& path) {
    // The folder is watched too: it tells when a file that went away comes
    // back, which the file's own watch cannot.
    const QString folder = QFileInfo(path).absolutePath();
    if (!watcher_.directories().contains(folder)) watcher_.addPath(folder);
    if (QFileInfo::exists(path) && !watcher_.files().contains(path)) watcher_.addPath(path);
}

void QtFileWatcher::FileChanged(const QString& path) {
    if (!paths_.contains(path)) return;
    // A watch on a file replaced by a rename follows the old file: start
    // afresh on whatever the path names now.
    watcher_.removePath(path);
    Rewatch(path);
    if (onChanged) onChanged(path.toStdString());
}

void QtFileWatcher::FolderChanged(const QString& folder) {
    const QStringList watched = watcher_.files();
    for (const QString& path : QSet<QString>(paths_)) {
        if (QFileInfo(path).absolutePath() != folder) continue;
        // Only a file that came back or went away: the file's own watch
        // reports its writes.
        const bool exists = QFileInfo::exists(path);
        if (exists == watched.contains(path)) continue;
        if (!exists) watcher_.removePath(path);
        Rewatch(path);
        if (onChanged) onChanged(path.toStdString());
    }
}

}  // namespace larkspur
