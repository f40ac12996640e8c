#pragma once

#include <memory>
#include <string>

class QSettings;

// Integer settings by section and key in an INI file, read and written at
// once, the way the station has always kept them.
class SettingsStore {
public:
    explicit SettingsStore(const std::string& path);
    ~SettingsStore();
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    // Empty when the file is absent or readable; otherwise what is wrong.
    std::string Problem() const;
    int GetInt(const std::string& section, const std::string& key, int defaultValue) const;
    // False when the value could not be written to the file.
    bool WriteInt(const std::string& section, const std::string& key, int value);
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
    std::unique_ptr<QSettings> m_settings;
};
