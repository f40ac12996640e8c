#pragma once

#include "model/DaySeries.h"

#include <ctime>
#include <vector>

struct DayPoint {
    std::time_t time = 0;
    double watts = 0.0; // the mean over the point's stretch
    double low = 0.0;
    double high = 0.0;
};

inline constexpr int MINUTE_SECONDS = 60;

// A day series' half minutes from the minute holding since on, joined by the
// minutes they fall in: each minute with any sample gives its start, mean,
// lowest and highest value. Costs the minutes, never the samples.
std::vector<DayPoint> MinutePoints(const CDaySeries& series, std::time_t since = 0);
