#include "CsvField.h"

#include <string_view>

namespace {
bool StartsLikeAFormula(const std::string& text) {
    return !text.empty() && std::string_view("=+-@").find(text.front()) != std::string_view::npos;
}
} // namespace

std::string CsvField(const std::string& text) {
    const std::string field = StartsLikeAFormula(text) ? "'" + text : text;
    if (field.find_first_of(",\"\r\n") == std::string::npos) {
        return field;
    }
    std::string quoted = "\"";
    for (const char c : field) {
        quoted += c == '"' ? "\"\"" : std::string(1, c);
    }
    return quoted + "\"";
}
