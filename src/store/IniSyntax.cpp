#include "IniSyntax.h"

#include "IniDocument.h"

#include <algorithm>
#include <sstream>

namespace {
std::string Trimmed(const std::string& line) {
    const auto first = line.find_first_not_of(" \t\r");
    if (first == std::string::npos) {
        return {};
    }
    return line.substr(first, line.find_last_not_of(" \t\r") - first + 1);
}

bool HasControlBytes(const std::string& line) {
    return std::any_of(line.begin(), line.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 && c != '\t' && c != '\r';
    });
}

bool IsWellFormed(const std::string& line) {
    if (line.empty() || line[0] == ';' || line[0] == '#') {
        return true;
    }
    if (line.front() == '[') {
        return line.back() == ']' && line.size() > 2;
    }
    const auto equals = line.find('=');
    return equals != std::string::npos && equals > 0;
}
} // namespace

std::string IniSyntaxProblem(const std::string& text) {
    std::istringstream lines(text.starts_with(UTF8_BOM) ? text.substr(UTF8_BOM.size()) : text);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        if (HasControlBytes(line) || !IsWellFormed(Trimmed(line))) {
            return "line " + std::to_string(number) + " is not a section, a key=value or a comment";
        }
    }
    return {};
}
