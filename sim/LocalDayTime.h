#pragma once

#include <cstdint>

namespace sim {

// A moment on the local calendar: which day, and how far into it.
struct LocalDayTime {
    std::int64_t day = 0; // days since 1970-01-01 on the local calendar
    int second = 0;       // seconds since local midnight

    static LocalDayTime FromTime(std::int64_t time);
    static LocalDayTime Midnight(int year, int month, int day);
};

// The moment of the given local time of day on the local date of now.
std::int64_t LocalTimeOnSameDay(std::int64_t now, int secondOfDay);

} // namespace sim
