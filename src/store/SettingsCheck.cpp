#include "SettingsCheck.h"

#include "IniDocument.h"
#include "SettingsKeys.h"
#include "WholeNumber.h"

#include <algorithm>
#include <set>

namespace {
// "Com1" to "Com19" are the port sections.
bool IsPortSection(const std::string& section) {
    const auto number = section.starts_with("Com") ? WholeNumber(section.substr(3)) : std::nullopt;
    return number && section[3] != '+' && *number >= 1 && *number <= LAST_PORT;
}

bool InSection(const SettingKey& key, const std::string& section) {
    return key.section == section ||
           (key.section == std::string(PORT_SECTION) && IsPortSection(section));
}

const SettingKey* FindKey(const std::string& section, const std::string& name) {
    const auto& keys = SettingsKeys();
    const auto found = std::find_if(keys.begin(), keys.end(), [&](const SettingKey& key) {
        return InSection(key, section) && key.key == name;
    });
    return found == keys.end() ? nullptr : &*found;
}

bool KnownSection(const std::string& section) {
    const auto& keys = SettingsKeys();
    return std::any_of(keys.begin(), keys.end(),
                       [&](const SettingKey& key) { return InSection(key, section); });
}

// Empty when the value is of the key's kind.
std::string ValueProblem(const SettingKey& key, const std::string& value) {
    if (key.kind != SettingKind::Switch && key.kind != SettingKind::Number) {
        return {};
    }
    const auto number = WholeNumber(value);
    if (number && *number >= key.range.min && *number <= key.range.max) {
        return {};
    }
    return std::string(key.key) + "=" + value + " is not " +
           (key.kind == SettingKind::Switch ? "0 or 1"
                                            : "a whole number from " + SettingKindText(key)) +
           "; the default " + key.defaultText + " is used";
}

std::string EntryProblem(const IniDocument::Entry& entry, std::set<std::string>& unknownSections) {
    if (!KnownSection(entry.section)) {
        return unknownSections.insert(entry.section).second
                   ? "unknown section [" + entry.section + "]; it is ignored"
                   : std::string();
    }
    const SettingKey* key = FindKey(entry.section, entry.key);
    if (key == nullptr) {
        return "unknown key " + entry.key + " in [" + entry.section + "]; it is ignored";
    }
    return ValueProblem(*key, entry.value.text);
}
} // namespace

std::vector<std::string> SettingsKeyProblems(const std::string& path, const IniDocument& document) {
    std::vector<std::string> problems;
    std::set<std::string> unknownSections;
    for (const IniDocument::Entry& entry : document.Entries()) {
        if (const std::string problem = EntryProblem(entry, unknownSections); !problem.empty()) {
            problems.push_back(path + " line " + std::to_string(entry.value.line) + ": " + problem);
        }
    }
    return problems;
}
