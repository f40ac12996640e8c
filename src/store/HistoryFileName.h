#pragma once

#include <string>
#include <string_view>

// The history file of a serial number that the inverter left empty.
inline constexpr std::string_view UNKNOWN_SERIAL_FILE_NAME = "unknown-serial.csv";

// "<serial>.csv", safe to open inside the history directory whatever the
// inverter sent: bytes other than letters, digits, '-', '_' and '.' become
// '_', and so does a leading '.', so that the name is never hidden, "." or
// "..".
std::string HistoryFileName(const std::string& serialNo);
