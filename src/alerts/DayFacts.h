#pragma once

#include "platform/Outcome.h"

#include <cstdint>
#include <ctime>
#include <map>
#include <string>

// Energy in Wh by inverter (serial number) and local day (yyyymmdd).
using DayYields = std::map<std::string, std::map<int, std::int64_t>>;

struct DayPeak {
    std::int64_t watts = -1; // -1: no sample that day
    std::time_t time = 0;
};

// What the alerts need to know of past days: the history summary, seen
// through this so that its reader can change without the rules noticing.
class DayFacts {
public:
    virtual ~DayFacts() = default;
    // Every inverter's energy per day over the days.
    virtual Outcome<DayYields> Yields(int firstDay, int lastDay) = 0;
    // The plant's highest 5-minute mean power of a day.
    virtual Outcome<DayPeak> PlantPeak(int day) = 0;
};
