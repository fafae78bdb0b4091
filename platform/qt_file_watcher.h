#pragma once
#include <QFileSystemWatcher>
#include <QSet>
#include <QString>

#include "platform/file_watcher.h"

namespace larkspur {

// The file system's own notices. Editors save by writing a new file and
// renaming it over the old one, which ends the watch on the old file: the
// path is watched again after every change, and a missing file's folder is
// watched until the file comes back.
class QtFileWatcher : public FileWatcher {
public:
    QtFileWatcher();

    void Watch(const std::string& path) override;
    void Unwatch(const std::string& path) override;

private:
    void FileChanged(const QString& path);
    void FolderChanged(const QString& folder);
    void Rewatch(const QString& path);

    QFileSystemWatcher watcher_;
    QSet<QString> paths_;
};

}  // namespace larkspur
