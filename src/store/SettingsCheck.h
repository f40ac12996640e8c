#pragma once

#include <string>
#include <vector>

class IniDocument;

// What the station will not take from a settings file, one line each naming
// the file and line: sections and keys it does not know (they are ignored)
// and values that are not of their key's kind (the default is used).
std::vector<std::string> SettingsKeyProblems(const std::string& path, const IniDocument& document);
