#pragma once

#include "IniDocument.h"
#include "SettingRanges.h"

#include <string>

// Integer settings by section and key in an INI file, read and written at
// once, the way the station has always kept them. A save changes only the
// line of its key; everything else in the file stays as the operator left it.
class SettingsStore {
public:
    explicit SettingsStore(const std::string& path);

    // Empty when the file is absent or readable; otherwise what is wrong.
    std::string Problem() const;
    // The value of the key, or defaultValue when it is absent. A value that is
    // not a whole number within range is refused with a warning that names
    // the file and line, and defaultValue is used.
    int GetInt(const std::string& section, const std::string& key, int defaultValue,
               SettingRange range = ANY_INT_RANGE) const;
    // False, with a warning, when the value could not be written to the file.
    bool WriteInt(const std::string& section, const std::string& key, int value);
    const std::string& Path() const { return m_path; }

    // --config, else $XDG_CONFIG_HOME/heliowatch/Heliowatch.ini.
    static std::string DefaultPath();

private:
    std::string m_path;
    IniDocument m_document;
};
