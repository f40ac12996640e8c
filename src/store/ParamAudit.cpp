#include "ParamAudit.h"

#include "CsvField.h"
#include "HistoryFile.h"
#include "platform/DataDirectory.h"
#include "platform/TimeText.h"

#include <array>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <optional>

namespace {
constexpr char HEADER[] = "Time,Port,Address,Serno,Parameter,Unit,Old value,New value,Outcome\r\n";
constexpr std::size_t FIELDS = 9;
constexpr char PORT_PREFIX[] = "COM";
using Fields = std::array<std::string, FIELDS>;

// Splits a line written by AppendParamAudit; nothing for any other.
std::optional<Fields> SplitLine(const std::string& line) {
    Fields fields;
    std::size_t index = 0;
    bool quoted = false;
    for (std::size_t at = 0; at < line.size(); ++at) {
        const char c = line[at];
        if (quoted && c == '"' && at + 1 < line.size() && line[at + 1] == '"') {
            fields[index] += '"';
            ++at;
        } else if (c == '"') {
            quoted = !quoted;
        } else if (c == ',' && !quoted) {
            if (++index == FIELDS) {
                return std::nullopt;
            }
        } else {
            fields[index] += c;
        }
    }
    return index + 1 == FIELDS ? std::optional<Fields>(fields) : std::nullopt;
}

// A field CsvField guarded against formulas is read back as written.
std::string Unguarded(const std::string& field) {
    return field.size() > 1 && field.front() == '\'' ? field.substr(1) : field;
}

std::time_t TimeOf(const std::string& text) {
    std::tm local{};
    if (::strptime(text.c_str(), "%Y/%m/%d %H:%M:%S", &local) == nullptr) {
        return 0;
    }
    local.tm_isdst = -1;
    return std::mktime(&local);
}

std::optional<ParamAuditEntry> ParseLine(const std::string& line) {
    const auto split = SplitLine(line);
    if (!split || split->at(1).rfind(PORT_PREFIX, 0) != 0) {
        return std::nullopt;
    }
    const Fields& fields = *split;
    ParamAuditEntry entry;
    entry.time = TimeOf(fields[0]);
    entry.comPort = std::atoi(fields[1].c_str() + std::strlen(PORT_PREFIX));
    entry.address = std::atoi(fields[2].c_str());
    entry.serialNo = Unguarded(fields[3]);
    entry.parameter = fields[4];
    entry.unit = fields[5];
    entry.oldValue = Unguarded(fields[6]);
    entry.newValue = Unguarded(fields[7]);
    entry.outcome = fields[8];
    return entry;
}
} // namespace

std::string ParamAuditPath() {
    return DataDirectory() + "/ParameterWrites.csv";
}

bool AppendParamAudit(const ParamAuditEntry& entry, std::string* failure) {
    const std::string line = LocalTimeText(entry.time) + "," + PORT_PREFIX +
                             std::to_string(entry.comPort) + "," + std::to_string(entry.address) +
                             "," + CsvField(entry.serialNo) + "," + CsvField(entry.parameter) +
                             "," + CsvField(entry.unit) + "," + CsvField(entry.oldValue) + "," +
                             CsvField(entry.newValue) + "," + CsvField(entry.outcome) + "\r\n";
    return AppendHistoryLine(ParamAuditPath(), HEADER, line, failure);
}

std::vector<ParamAuditEntry> ReadParamAudit(const std::string& serialNo) {
    std::vector<ParamAuditEntry> entries;
    std::ifstream file(ParamAuditPath(), std::ios::binary);
    std::string line;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        const auto entry = ParseLine(line);
        const bool gaveIt =
            entry && entry->parameter == SERIAL_PARAMETER && entry->newValue == serialNo;
        if (entry && (entry->serialNo == serialNo || gaveIt)) {
            entries.push_back(std::move(*entry));
        }
    }
    return entries;
}
