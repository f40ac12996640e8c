#pragma once

#include "HistoryLineParser.h"

#include <ctime>

// The machine's local calendar: local days by their yyyymmdd key with their
// bounds in UTC, and wall-clock times turned into UTC. A day with a clock
// change has 23 or 25 hours. Quick for times that mostly fall on one day: the
// last day looked at is remembered.
class LocalCalendar {
public:
    struct Day {
        std::time_t start = 0; // first second of the day
        std::time_t end = 0;   // first second of the next day
        int Hours() const { return static_cast<int>((end - start + 1800) / 3600); }
    };

    Day Bounds(int dayKey);
    int DayKeyOf(std::time_t time);
    // In the hour that a clock change repeats, the earlier of the two readings
    // unless it lies before notBefore, so a file read in order keeps its order.
    // A time the clock skipped is taken at the offset before the change.
    std::time_t ToUtc(const CivilTime& local, std::time_t notBefore);

    // Seconds east of UTC in force at time.
    static long UtcOffset(std::time_t time);

private:
    void Load(int dayKey);
    std::time_t Ambiguous(const CivilTime& local, std::time_t notBefore) const;

    int m_key = 0;
    Day m_day;
    long m_offsetAtStart = 0;
    long m_offsetAtEnd = 0;
    bool m_steady = false; // 24 hours of one offset
};
