#pragma once

#include "DayFacts.h"

#include <string>
#include <vector>

struct WeakInverter {
    std::string serial;
    std::int64_t yieldWh = 0;
    std::int64_t expectedWh = 0;
    int percent = 0; // of what was expected
};

// The days an inverter's share of the plant is taken over.
inline constexpr int SHARE_DAYS = 14;

// The inverters that made less than percent % of their plant-normalised
// yield on the day. An inverter's share is its energy over the last
// SHARE_DAYS days against the rest of the plant's, counted on the days all
// of them reported; applied to what the rest made on the day, so a cloudy
// day for all raises nothing and a weak inverter does not lower its own
// measure. Inverters that reported on the day or the day before are judged;
// too little history (under 3 such days), a plant of one, or an expectation
// under 0.2 kWh judges nobody.
std::vector<WeakInverter> WeakInverters(const DayYields& yields, int day, int percent);
