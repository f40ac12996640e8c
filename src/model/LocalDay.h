#pragma once

#include <ctime>

// Local date and clock-second lookups for time values that mostly fall on the
// same local day. A stretch of time values with one date and one UTC offset is
// remembered, so a day of samples costs a few time zone conversions instead of
// one per sample, clock-change days included.
class CLocalDay {
public:
    // The local date as year * 10000 + month * 100 + day.
    int Date(std::time_t time);
    // Seconds since local midnight by the clock: hour * 3600 + minute * 60 + second.
    int SecondOfDay(std::time_t time);

private:
    void Look(std::time_t time);

    std::time_t m_tMidnight = 0; // where the stretch's day began at its offset
    std::time_t m_tStart = 0;
    std::time_t m_tEnd = 0; // start == end: nothing remembered
    int m_nDate = 0;
};
