#pragma once

#include "CivilDays.h"

#include <cstdint>
#include <optional>
#include <string_view>

// A local wall-clock time as a history line writes it.
struct CivilTime {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;

    int DayKey() const { return CivilDays::Key(year, month, day); }
};

// What the summary takes from one data line of a history file, in the
// line's own units.
struct HistoryLineValues {
    CivilTime time;
    int phases = 0;              // 1 or 3, told by the number of fields
    std::int64_t tempTenths = 0; // 0.1 degree Celsius
    std::int64_t powerW = 0;
    std::int64_t eTodayWh = 0; // the line's 0.01 kWh steps
    std::int64_t eTotalWh = 0; // the line's 0.1 kWh steps
};

// The header line that begins every history file.
bool IsHistoryHeader(std::string_view line);

// One data line, with or without its line end. Nothing for a header, a line of
// another file, a truncated or otherwise damaged line: every field must be a
// number as the writers print them, and the line must have the 15 fields of a
// single-phase or the 30 of a three-phase inverter.
std::optional<HistoryLineValues> ParseHistoryLine(std::string_view line);
