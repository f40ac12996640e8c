#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The text of a settings file, line by line, so that setting a value leaves
// every other line as it was: comments, blank lines, order, a byte-order mark
// and CR LF line ends all survive a save.
class IniDocument {
public:
    IniDocument() = default;
    explicit IniDocument(const std::string& text);

    struct Value {
        std::string text; // without the blanks around it
        int line;         // counted from 1
    };
    // The last "key=value" of the section; keys before any section header
    // belong to section "".
    std::optional<Value> Find(const std::string& section, const std::string& key) const;
    struct Entry {
        std::string section;
        std::string key;
        Value value;
    };
    // Every "key=value" line in file order.
    std::vector<Entry> Entries() const;
    // Rewrites the value in its line, or adds the key at the end of its
    // section, or the section at the end of the text.
    void Set(const std::string& section, const std::string& key, const std::string& value);
    std::string Text() const;

private:
    struct Place {
        std::optional<std::size_t> keyLine;
        std::optional<std::size_t> sectionEnd; // its header or last key line
    };
    Place Locate(const std::string& section, const std::string& key) const;
    void Insert(std::size_t index, std::string line);

    std::string m_byteOrderMark;
    std::vector<std::string> m_lines; // without '\n', with any '\r'
    bool m_bFinalLineEnd = false;
};

// A UTF-8 byte-order mark, which editors may put before the first line.
inline constexpr std::string_view UTF8_BOM = "\xEF\xBB\xBF";
