#include "TextNumbers.h"

#include <cerrno>
#include <cstdlib>

namespace sim {

namespace {
std::optional<long long> ParseInBase(const std::string& text, int base) {
    if (text.empty() || text.front() == '-' || text.front() == '+' || text.front() == ' ') {
        return std::nullopt;
    }
    char* end = nullptr;
    errno = 0;
    const long long value = std::strtoll(text.c_str(), &end, base);
    if (errno != 0 || *end != '\0') {
        return std::nullopt;
    }
    return value;
}
} // namespace

std::optional<long long> ParseNumber(const std::string& text) {
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    return hex ? ParseInBase(text.substr(2), 16) : ParseInBase(text, 10);
}

std::optional<long long> ParseSignedNumber(const std::string& text) {
    if (text.empty() || text.front() != '-') {
        return ParseNumber(text);
    }
    const auto magnitude = ParseNumber(text.substr(1));
    return magnitude ? std::optional<long long>(-*magnitude) : std::nullopt;
}

std::optional<std::uint8_t> ParseIdentifier(const std::string& text) {
    const bool prefixed = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const auto value = ParseInBase(prefixed ? text.substr(2) : text, 16);
    if (!value || *value > 0xFF) {
        return std::nullopt;
    }
    return static_cast<std::uint8_t>(*value);
}

std::optional<std::vector<std::uint8_t>> ParseIdentifierList(const std::string& text) {
    std::vector<std::uint8_t> ids;
    for (const std::string& item : SplitText(text, ',')) {
        const auto id = ParseIdentifier(item);
        if (!id) {
            return std::nullopt;
        }
        ids.push_back(*id);
    }
    return ids;
}

std::optional<int> ParsePortName(const std::string& text) {
    if (text.size() < 4 || text.compare(0, 3, "COM") != 0) {
        return std::nullopt;
    }
    const auto number = ParseInBase(text.substr(3), 10);
    if (!number || *number < 1 || *number > 255) {
        return std::nullopt;
    }
    return static_cast<int>(*number);
}

std::vector<std::string> SplitText(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find(separator, start)) != std::string::npos;
         start = end + 1) {
        parts.push_back(text.substr(start, end - start));
    }
    parts.push_back(text.substr(start));
    return parts;
}

} // namespace sim
