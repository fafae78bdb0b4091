#include "platform/qt_settings_store.h"

#include <QSettings>

namespace larkspur {
namespace {

QString KeyOf(const std::string& section, const std::string& key) {
    return QString::fromStdString(section) + QLatin1Char('/') + QString::fromStdString(key);
}

QSettings Store() { return QSettings(QStringLiteral("Fernhollow"), QStringLiteral("Larkspur")); }

}  // namespace

int QtSettingsStore::GetInt(const std::string& section, const std::string& key, int defaultValue) {
    bool ok = false;
    const int value = Store().value(KeyOf(section, key)).toInt(&ok);
    return ok ? value : defaultValue;
}

void QtSettingsStore::SetInt(const std::string& section, const std::string& key, int value) {
    Store().setValue(KeyOf(section, key), value);
}

std::string QtSettingsStore::GetString(const std::string& section, const std::string& key,
                                       const std::string& defaultValue) {
    const QVariant value = Store().value(KeyOf(section, key));
    if (!value.isValid()) return defaultValue;
    return value.toString().toStdString();
}

void QtSettingsStore::SetString(const std::string& section, const std::string& key, const std::string& value) {
    Store().setValue(KeyOf(section, key), QString::fromStdString(value));
}

}  // namespace larkspur
