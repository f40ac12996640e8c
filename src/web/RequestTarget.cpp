#include "RequestTarget.h"

namespace {
int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end - start));
        if (end == std::string::npos) {
            return parts;
        }
        start = end + 1;
    }
}

std::string FormDecoded(std::string text) {
    for (char& c : text) {
        if (c == '+') {
            c = ' ';
        }
    }
    return PercentDecoded(text);
}
} // namespace

std::string PercentDecoded(const std::string& text) {
    std::string decoded;
    decoded.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const int high = text[i] == '%' && i + 2 < text.size() ? HexDigit(text[i + 1]) : -1;
        const int low = high >= 0 ? HexDigit(text[i + 2]) : -1;
        if (low >= 0) {
            decoded += static_cast<char>(high * 16 + low);
            i += 2;
        } else {
            decoded += text[i];
        }
    }
    return decoded;
}

RequestTarget::RequestTarget(const std::string& target) {
    const std::size_t question = target.find('?');
    m_path = target.substr(0, question);
    for (const std::string& segment : Split(m_path, '/')) {
        if (!segment.empty()) {
            m_segments.push_back(PercentDecoded(segment));
        }
    }
    if (question == std::string::npos) {
        return;
    }
    for (const std::string& pair : Split(target.substr(question + 1), '&')) {
        const std::size_t equals = pair.find('=');
        m_query.emplace_back(FormDecoded(pair.substr(0, equals)),
                             equals == std::string::npos ? ""
                                                         : FormDecoded(pair.substr(equals + 1)));
    }
}

std::optional<std::string> RequestTarget::Query(const std::string& name) const {
    for (const auto& [key, value] : m_query) {
        if (key == name) {
            return value;
        }
    }
    return std::nullopt;
}
