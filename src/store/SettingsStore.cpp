#include "SettingsStore.h"

#include "IniSyntax.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

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
    QFile file(QString::fromStdString(m_path));
    if (!file.exists()) {
        return {};
    }
    if (!QFileInfo(file).isFile() || !file.open(QIODevice::ReadOnly)) {
        return "cannot read settings file " + m_path;
    }
    const std::string syntax = IniSyntaxProblem(file.readAll().toStdString());
    if (!syntax.empty()) {
        return "settings file " + m_path + " is malformed: " + syntax;
    }
    if (m_settings->status() != QSettings::NoError) {
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
