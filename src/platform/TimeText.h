#pragma once

#include <ctime>
#include <string>

// A time in local time as strftime's format writes it; empty when the time
// cannot be converted.
std::string LocalTimeText(std::time_t time, const char* format);
// A time as the station writes it everywhere: local time, "%Y/%m/%d %H:%M:%S".
std::string LocalTimeText(std::time_t time);
// ISO 8601 local time with its UTC offset: "2026-03-29T01:55:00+01:00".
std::string IsoTimeText(std::time_t time);
// The same to the minute: "2026-03-29T01:55+01:00".
std::string IsoMinuteText(std::time_t time);
