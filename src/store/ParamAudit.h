#pragma once

#include <ctime>
#include <string>
#include <vector>

// The parameter name of a serial-number change.
inline constexpr char SERIAL_PARAMETER[] = "Serno";

// One value an operator wrote to an inverter, and how it ended.
struct ParamAuditEntry {
    std::time_t time = 0;
    int comPort = 0;
    int address = 0;
    std::string serialNo;
    std::string parameter; // "Vpv-Start", ..., "Serno"
    std::string unit;
    std::string oldValue;
    std::string newValue;
    std::string outcome; // CommandOutcomeText
    bool operator==(const ParamAuditEntry&) const = default;
};

// DataDirectory() + "/ParameterWrites.csv": every write, one CSV line each,
// appended and never rewritten.
std::string ParamAuditPath();

// Appends the entry as a whole line, the header first when the file is new;
// false, with the reason, when it was lost.
[[nodiscard]] bool AppendParamAudit(const ParamAuditEntry& entry, std::string* failure = nullptr);

// The entries of the inverter with this serial number, with the change that
// gave it the number, oldest first; none when the file is missing or
// unreadable.
std::vector<ParamAuditEntry> ReadParamAudit(const std::string& serialNo);
