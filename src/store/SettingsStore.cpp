#include "SettingsStore.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace {
QString Key(const std::string& section, const std::string& key) {
    return QString::fromStdString(section + "/" + key);
}
} // namespace

SettingsStore::SettingsStore(const std::string& path)
    : m_path(path),
      m_settings(std::make_unique<QSettings>(QString::fromStdString(path), QSettings::IniFormat)) {}

SettingsStore::~SettingsStore() = default;

std::string SettingsStore::Problem() const {
    const QFileInfo file(QString::fromStdString(m_path));
    if (file.exists() && (!file.isFile() || !file.isReadable())) {
        return "cannot read settings file " + m_path;
    }
    if (m_settings->status() == QSettings::FormatError) {
        return "settings file " + m_path + " is malformed";
    }
    return {};
}

int SettingsStore::GetInt(const std::string& section, const std::string& key,
                          int defaultValue) const {
    bool isNumber = false;
    const int value = m_settings->value(Key(section, key), defaultValue).toInt(&isNumber);
    return isNumber ? value : defaultValue;
}

bool SettingsStore::WriteInt(const std::string& section, const std::string& key, int value) {
    QDir().mkpath(QFileInfo(QString::fromStdString(m_path)).absolutePath());
    m_settings->setValue(Key(section, key), value);
    m_settings->sync();
    return m_settings->status() == QSettings::NoError;
}

std::string SettingsStore::DefaultPath() {
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return (config + "/heliowatch/Heliowatch.ini").toStdString();
}
