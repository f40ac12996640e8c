#pragma once

#include "IniDocument.h"
#include "SettingRanges.h"

#include <string>
#include <utility>
#include <vector>

// Integer settings by section and key in an INI file, read and written at
// once, the way the station has always kept them. A save changes only the
// line of its key; everything else in the file stays as the operator left it.
class SettingsStore {
public:
    explicit SettingsStore(const std::string& path);

    // Empty when the file is absent or readable; otherwise what is wrong.
    std::string Problem() const;
    // Keys the station does not know and values out of their range, one line
    // each naming the file and line: for a warning when the settings are read.
    std::vector<std::string> KeyProblems() const;
    // The value of the key, or defaultValue when it is absent or not a whole
    // number within range (KeyProblems tells which).
    int GetInt(const std::string& section, const std::string& key, int defaultValue,
               SettingRange range = ANY_INT_RANGE) const;
    // The text of the key without the blanks around it, or defaultValue.
    std::string GetString(const std::string& section, const std::string& key,
                          const std::string& defaultValue) const;
    // False, with a warning, when the value could not be written to the file.
    bool WriteInt(const std::string& section, const std::string& key, int value);
    // Several keys of one section in one write of the file.
    using KeyValues = std::vector<std::pair<std::string, std::string>>;
    bool WriteValues(const std::string& section, const KeyValues& values);
    const std::string& Path() const { return m_path; }
    // Why the last write failed; empty after one that went through.
    const std::string& WriteProblem() const { return m_writeProblem; }

private:
    std::string m_path;
    std::string m_writeProblem;
    IniDocument m_document;
};
