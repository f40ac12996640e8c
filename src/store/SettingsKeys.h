#pragma once

#include "SettingRanges.h"

#include <string>
#include <vector>

// What a setting's value may be.
enum class SettingKind {
    Switch, // 0 or 1
    Number, // a whole number within its range
    Text,
    File, // a file name
};

// One key of the settings file. The table of them is the one place that
// knows every key: the manual and the example file are made from it, and the
// settings file is checked against it.
struct SettingKey {
    const char* section; // PORT_SECTION stands for [Com1] to [Com19]
    const char* key;
    const char* defaultText; // empty: the setting is empty by default
    SettingKind kind;
    SettingRange range; // for numbers
    const char* meaning;
};

inline constexpr const char* PORT_SECTION = "Com<n>";

const std::vector<SettingKey>& SettingsKeys();

// "0 or 1", "1 to 86400", "text", "file name".
std::string SettingKindText(const SettingKey& key);
