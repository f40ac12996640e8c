#pragma once

#include <string>

// Text in the Prometheus exposition format, family by family: the HELP and
// TYPE lines once, then the samples. Values print in their shortest exact
// form.
class MetricsWriter {
public:
    void Family(const char* name, const char* type, const char* help);
    // labels: "name=\"value\",..." as Label makes them, or empty.
    void Sample(const char* name, const std::string& labels, double value);
    std::string Take() { return std::move(m_text); }

private:
    std::string m_text;
};

// name="value", the value quoted as the format wants it.
std::string Label(const char* name, const std::string& value);

// A label value as the format quotes it: UTF-8 (station bytes are Latin-1)
// with backslash, double quote and line feed escaped.
std::string LabelValue(const std::string& bytes);
