#pragma once

#include <string>

// Summaries and history files for the history benchmarks.
inline constexpr int FIRST_DAY = 20260101;

// A new data directory with an empty HistLog folder, made the station's.
std::string FreshDataDirectory(const char* name);
std::string SerialOf(int inverter);
// A year of day rows for every inverter, 5-minute rows of daylight for the
// first `withBuckets`, and the plant's.
[[nodiscard]] bool FillSummary(int inverters, int withBuckets);
