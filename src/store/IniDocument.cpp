#include "IniDocument.h"

namespace {
constexpr std::string_view BLANKS = " \t\r";

std::string_view Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(BLANKS);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(BLANKS) - first + 1);
}

bool IsComment(std::string_view line) {
    return !line.empty() && (line.front() == ';' || line.front() == '#');
}

// The name of a "[name]" line.
std::optional<std::string_view> SectionName(std::string_view line) {
    if (line.size() < 2 || line.front() != '[' || line.back() != ']') {
        return std::nullopt;
    }
    return Trimmed(line.substr(1, line.size() - 2));
}

bool HasKey(std::string_view line, const std::string& key) {
    const auto equals = line.find('=');
    return equals != std::string_view::npos && !IsComment(line) &&
           Trimmed(line.substr(0, equals)) == key;
}

bool EndsWithReturn(const std::string& line) {
    return !line.empty() && line.back() == '\r';
}
} // namespace

IniDocument::IniDocument(const std::string& text) {
    std::string_view rest = text;
    if (rest.starts_with(UTF8_BOM)) {
        m_byteOrderMark = std::string(UTF8_BOM);
        rest.remove_prefix(m_byteOrderMark.size());
    }
    while (!rest.empty()) {
        const auto end = rest.find('\n');
        m_lines.emplace_back(rest.substr(0, end));
        m_bFinalLineEnd = end != std::string_view::npos;
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
    }
}

IniDocument::Place IniDocument::Locate(const std::string& section, const std::string& key) const {
    Place place;
    bool inSection = section.empty();
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        const std::string_view line = Trimmed(m_lines[i]);
        if (const auto name = SectionName(line)) {
            inSection = *name == section;
        } else if (!inSection) {
            continue;
        } else if (HasKey(line, key)) {
            place.keyLine = i;
        }
        if (inSection && !line.empty() && !IsComment(line)) {
            place.sectionEnd = i;
        }
    }
    return place;
}

std::optional<IniDocument::Value> IniDocument::Find(const std::string& section,
                                                    const std::string& key) const {
    const Place place = Locate(section, key);
    if (!place.keyLine) {
        return std::nullopt;
    }
    const std::string_view line = m_lines[*place.keyLine];
    return Value{std::string(Trimmed(line.substr(line.find('=') + 1))),
                 static_cast<int>(*place.keyLine) + 1};
}

std::vector<IniDocument::Entry> IniDocument::Entries() const {
    std::vector<Entry> entries;
    std::string section;
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        const std::string_view line = Trimmed(m_lines[i]);
        const auto equals = line.find('=');
        if (const auto name = SectionName(line)) {
            section = *name;
        } else if (!IsComment(line) && equals != std::string_view::npos) {
            entries.push_back(
                {section,
                 std::string(Trimmed(line.substr(0, equals))),
                 {std::string(Trimmed(line.substr(equals + 1))), static_cast<int>(i) + 1}});
        }
    }
    return entries;
}

void IniDocument::Set(const std::string& section, const std::string& key,
                      const std::string& value) {
    const Place place = Locate(section, key);
    if (place.keyLine) {
        std::string& line = m_lines[*place.keyLine];
        const bool crlf = EndsWithReturn(line);
        const auto valueStart = line.find_first_not_of(" \t", line.find('=') + 1);
        line = line.substr(0, valueStart == std::string::npos ? line.size() : valueStart);
        if (crlf && EndsWithReturn(line)) {
            line.pop_back();
        }
        line += value + (crlf ? "\r" : "");
        return;
    }
    if (place.sectionEnd) {
        Insert(*place.sectionEnd + 1, key + "=" + value);
        return;
    }
    if (!m_lines.empty() && !Trimmed(m_lines.back()).empty()) {
        Insert(m_lines.size(), "");
    }
    Insert(m_lines.size(), "[" + section + "]");
    Insert(m_lines.size(), key + "=" + value);
}

// A new line takes the line end the text already uses.
void IniDocument::Insert(std::size_t index, std::string line) {
    const bool crlf = !m_lines.empty() && EndsWithReturn(m_lines.front());
    m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(index),
                   std::move(line) + (crlf ? "\r" : ""));
    m_bFinalLineEnd = true;
}

std::string IniDocument::Text() const {
    std::string text = m_byteOrderMark;
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        text += m_lines[i];
        if (i + 1 < m_lines.size() || m_bFinalLineEnd) {
            text += '\n';
        }
    }
    return text;
}
