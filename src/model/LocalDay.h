#pragma once

#include <ctime>

// Local date lookups for time values that mostly fall on the same local day.
// The day of the last lookup is kept as a range of time values, so a series
// appending a sample every few seconds converts time zones once a day instead
// of twice a sample.
class CLocalDay {
public:
    // The local date as year * 10000 + month * 100 + day.
    int Date(std::time_t time);

private:
    void Remember(const std::tm& local);

    std::time_t m_tStart = 0; // first second of the remembered day
    std::time_t m_tEnd = 0;   // first second after it; start == end: none
    int m_nDate = 0;
};
