#include "app/data_files.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace larkspur {

std::vector<std::string> DataFolders() {
    std::vector<std::string> folders{"."};
    if (QCoreApplication::instance() != nullptr) {
        const QString exeDir = QCoreApplication::applicationDirPath();
        folders.push_back(exeDir.toStdString());
        folders.push_back(QDir(exeDir + QStringLiteral("/../share/larkspur")).absolutePath().toStdString());
    }
#ifdef LARKSPUR_DATA_DIR
    folders.push_back(LARKSPUR_DATA_DIR);
#endif
    return folders;
}

std::string FindDataFile(const std::string& name) {
    for (const std::string& folder : DataFolders()) {
        const QString path = QString::fromStdString(folder) + QLatin1Char('/') + QString::fromStdString(name);
        if (QFileInfo(path).isFile()) return folder == "." ? name : path.toStdString();
    }
    return name;
}

}  // namespace larkspur
