#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The history file of a serial number that the inverter left empty; no other
// serial number gives this name.
inline constexpr std::string_view UNKNOWN_SERIAL_FILE_NAME = "%unknown-serial.csv";

// "<serial>.csv", safe to open inside the history directory whatever the
// inverter sent, and different for different serial numbers: letters, digits,
// '-', '_' and '.' stay as they are; every other byte, '%' itself and a
// leading '.' (a hidden name, "." or "..") become "%XX" in upper-case hex.
std::string HistoryFileName(const std::string& serialNo);

// The serial number whose history file has this name; nothing for a name
// HistoryFileName never gives.
std::optional<std::string> SerialOfHistoryFileName(std::string_view fileName);

// The names of the history files ("*.csv") in a directory, sorted; none when
// it cannot be read.
std::vector<std::string> HistoryFiles(const std::string& histLogDirectory);
