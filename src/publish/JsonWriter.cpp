#include "JsonWriter.h"

#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

namespace {
// Well-formed UTF-8: no stray continuation bytes, overlong forms or
// surrogates.
bool IsUtf8(const std::string& text) {
    const auto* byte = reinterpret_cast<const unsigned char*>(text.data());
    const auto* end = byte + text.size();
    while (byte < end) {
        const unsigned char lead = *byte++;
        if (lead < 0x80) {
            continue;
        }
        int follow = 0;
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            follow = 1;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            follow = 2;
            low = lead == 0xE0 ? 0xA0 : 0x80;
            high = lead == 0xED ? 0x9F : 0xBF;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            follow = 3;
            low = lead == 0xF0 ? 0x90 : 0x80;
            high = lead == 0xF4 ? 0x8F : 0xBF;
        } else {
            return false;
        }
        for (int i = 0; i < follow; ++i, ++byte) {
            if (byte == end || *byte < low || *byte > high) {
                return false;
            }
            low = 0x80;
            high = 0xBF;
        }
    }
    return true;
}

std::string Latin1ToUtf8(const std::string& text) {
    std::string utf8;
    utf8.reserve(text.size() * 2);
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            utf8 += c;
        } else {
            utf8 += static_cast<char>(0xC0 | byte >> 6);
            utf8 += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return utf8;
}
} // namespace

struct JsonWriter::Output {
    rapidjson::StringBuffer buffer;
    rapidjson::Writer<rapidjson::StringBuffer> writer{buffer};
};

thread_local std::unique_ptr<JsonWriter::Output> JsonWriter::t_spare;

JsonWriter::JsonWriter() : m_output(t_spare ? std::move(t_spare) : std::make_unique<Output>()) {
    m_output->buffer.Clear();
    m_output->writer.Reset(m_output->buffer);
    m_output->writer.StartObject();
}

JsonWriter::~JsonWriter() {
    t_spare = std::move(m_output);
}

void JsonWriter::Key(const char* key) {
    if (key != nullptr) {
        m_output->writer.Key(key);
    }
}

JsonWriter& JsonWriter::BeginObject(const char* key) {
    Key(key);
    m_output->writer.StartObject();
    return *this;
}

JsonWriter& JsonWriter::EndObject() {
    m_output->writer.EndObject();
    return *this;
}

JsonWriter& JsonWriter::BeginArray(const char* key) {
    Key(key);
    m_output->writer.StartArray();
    return *this;
}

JsonWriter& JsonWriter::EndArray() {
    m_output->writer.EndArray();
    return *this;
}

JsonWriter& JsonWriter::Text(const char* key, const std::string& text) {
    Key(key);
    if (IsUtf8(text)) {
        m_output->writer.String(text.data(), static_cast<rapidjson::SizeType>(text.size()));
    } else {
        const std::string utf8 = Latin1ToUtf8(text);
        m_output->writer.String(utf8.data(), static_cast<rapidjson::SizeType>(utf8.size()));
    }
    return *this;
}

JsonWriter& JsonWriter::Number(const char* key, double value) {
    Key(key);
    m_output->writer.Double(value);
    return *this;
}

JsonWriter& JsonWriter::Integer(const char* key, std::int64_t value) {
    Key(key);
    m_output->writer.Int64(value);
    return *this;
}

JsonWriter& JsonWriter::Boolean(const char* key, bool value) {
    Key(key);
    m_output->writer.Bool(value);
    return *this;
}

std::string JsonWriter::Finish() {
    m_output->writer.EndObject();
    return std::string(m_output->buffer.GetString(), m_output->buffer.GetSize());
}
