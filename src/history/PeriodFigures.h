#pragma once

#include "HistoryPeriod.h"
#include "SummaryReader.h"
#include "store/LocalCalendar.h"

#include <cstdint>
#include <map>
#include <vector>

// What the history shows of a period for the plant or one inverter: its
// energy, peak and best day, and the day's curve or the period's bars.
struct PeriodFigures {
    bool any = false; // any sample in the period
    std::int64_t energyWh = 0;
    PeakPower peak;
    int bestDay = 0; // 0: none
    std::int64_t bestDayWh = 0;
    LocalCalendar::Day day;           // a day's bounds
    std::vector<CurvePoint> curve;    // a day's 5-minute stretches
    std::vector<int> barKeys;         // every bar of a longer period, in order
    std::map<int, std::int64_t> bars; // Wh by bar key, bars with samples only
};

Outcome<PeriodFigures> LoadPeriodFigures(SummaryReader& reader, const HistoryPeriod& period,
                                         std::int64_t source);
