#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

// The path and query of a request target as sent. The path is split at its
// slashes before anything is decoded, so "A%2FB" stays one segment.
class RequestTarget {
public:
    explicit RequestTarget(const std::string& target);

    const std::string& Path() const { return m_path; } // as sent
    const std::vector<std::string>& Segments() const { return m_segments; }
    // The first value given for name, decoded ("+" is a space).
    std::optional<std::string> Query(const std::string& name) const;

private:
    std::string m_path;
    std::vector<std::string> m_segments;
    std::vector<std::pair<std::string, std::string>> m_query;
};

// %XX escapes turned into their bytes; a "%" not followed by two hex digits
// stays as it is.
std::string PercentDecoded(const std::string& text);
