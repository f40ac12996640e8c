#include "MetricsWriter.h"

#include "NumberText.h"

void MetricsWriter::Family(const char* name, const char* type, const char* help) {
    m_text += "# HELP ";
    m_text += name;
    m_text += ' ';
    m_text += help;
    m_text += "\n# TYPE ";
    m_text += name;
    m_text += ' ';
    m_text += type;
    m_text += '\n';
}

void MetricsWriter::Sample(const char* name, const std::string& labels, double value) {
    m_text += name;
    if (!labels.empty()) {
        m_text += '{' + labels + '}';
    }
    m_text += ' ';
    m_text += ShortestText(value);
    m_text += '\n';
}

std::string Label(const char* name, const std::string& value) {
    return std::string(name) + "=\"" + LabelValue(value) + '"';
}

std::string LabelValue(const std::string& bytes) {
    std::string text;
    text.reserve(bytes.size());
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x80) {
            text += static_cast<char>(0xC0 | (byte >> 6));
            text += static_cast<char>(0x80 | (byte & 0x3F));
        } else if (c == '\\' || c == '"') {
            text += '\\';
            text += c;
        } else if (c == '\n') {
            text += "\\n";
        } else {
            text += c;
        }
    }
    return text;
}
