#pragma once

#include <cstdint>
#include <ctime>
#include <string>

// ISO 8601 local time with its UTC offset: "2026-03-29T01:55:00+01:00".
std::string IsoTimeText(std::time_t time);
// The same to the minute: "2026-03-29T01:55+01:00".
std::string IsoMinuteText(std::time_t time);
// Wh as kWh with a dot and the given number of decimals (at most 3), rounded
// half away from zero.
std::string KilowattHoursText(std::int64_t wattHours, int decimals);
