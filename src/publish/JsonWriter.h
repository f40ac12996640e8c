#pragma once

#include <cstdint>
#include <memory>
#include <string>

// Writes one JSON object as it goes, without building a document first: a
// state message per poll must cost microseconds. Text that is not UTF-8 (bytes
// from the bus) is read as Latin-1, so the output is always valid JSON.
class JsonWriter {
public:
    JsonWriter();
    ~JsonWriter();
    JsonWriter(const JsonWriter&) = delete;
    JsonWriter& operator=(const JsonWriter&) = delete;

    JsonWriter& BeginObject(const char* key = nullptr);
    JsonWriter& EndObject();
    JsonWriter& BeginArray(const char* key = nullptr);
    JsonWriter& EndArray();
    JsonWriter& Text(const char* key, const std::string& text);
    JsonWriter& Number(const char* key, double value);
    JsonWriter& Integer(const char* key, std::int64_t value);
    JsonWriter& Boolean(const char* key, bool value);
    // Ends the outermost object and gives the text; every object and array
    // begun must have been ended.
    std::string Finish();

private:
    void Key(const char* key);

    struct Output;
    // The buffers of the last writer on this thread, kept for the next: a
    // state message per poll then allocates nothing but its text.
    static thread_local std::unique_ptr<Output> t_spare;
    std::unique_ptr<Output> m_output;
};
