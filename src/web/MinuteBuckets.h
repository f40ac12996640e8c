#pragma once

#include "model/GraphSample.h"

#include <ctime>
#include <vector>

struct DayPoint {
    std::time_t time = 0;
    double watts = 0.0; // the mean over the point's stretch
    double low = 0.0;
    double high = 0.0;
};

inline constexpr int MINUTE_SECONDS = 60;

// Samples (in time order) folded into the minutes they fall in: each minute
// with any sample gives its start, mean, lowest and highest value.
std::vector<DayPoint> MinutePoints(const std::vector<CGraphSample>& samples);
