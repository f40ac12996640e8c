#pragma once

#include <ctime>

// Seconds since local midnight (hour × 3600 + minute × 60 + second) for time
// values that mostly fall on one local day. A stretch of time values with one
// day and one UTC offset is remembered, so a day of samples costs a few time
// zone conversions instead of one per sample.
class CSecondOfDay {
public:
    int At(std::time_t time);

private:
    void Remember(std::time_t time, int secondOfDay, long utcOffset);

    std::time_t m_tMidnight = 0; // where the remembered stretch's day began at its offset
    std::time_t m_tStart = 0;
    std::time_t m_tEnd = 0; // start == end: nothing remembered
};
