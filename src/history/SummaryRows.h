#pragma once

#include "model/TimeBucket.h"

#include <cstdint>
#include <ctime>

// One history sample as the summary counts it.
struct SummarySample {
    std::time_t time = 0; // UTC
    int dayKey = 0;       // the local day it was taken on, yyyymmdd
    std::int64_t tempTenths = 0;
    std::int64_t powerW = 0;
    std::int64_t eTodayWh = 0;
    std::int64_t eTotalWh = 0;
};

// Where counting of one history file stands: its last sample.
struct SourceState {
    bool any = false;
    std::time_t lastTime = 0;
    int lastDay = 0;
    std::int64_t eTodayWh = 0;
    std::int64_t eTotalWh = 0;
};

// The part of one inverter's local day that a run of samples adds; rows of the
// same day merge by adding and by taking extremes.
struct DayRow {
    int day = 0;
    std::int64_t energyWh = 0;
    std::int64_t peakW = 0;
    std::time_t peakTime = 0;
    std::time_t firstTime = 0;
    std::time_t lastTime = 0;
    std::int64_t samples = 0;
    std::int64_t minutes = 0; // minutes with at least one sample
    std::int64_t tempMin = 0;
    std::int64_t tempMax = 0;
};

// The same for one 5-minute stretch, which starts at a multiple of 300 s UTC.
struct BucketRow {
    std::time_t start = 0;
    std::int64_t samples = 0;
    std::int64_t powerSum = 0; // W summed over the samples
    std::int64_t powerMax = 0;
    std::int64_t energyWh = 0;
};

inline constexpr std::time_t BUCKET_SECONDS = 300;

// Half a minute of one inverter's power as a day series keeps it, in W, with
// the energy of the day at its last sample.
struct SpanRow {
    CTimeBucket power;
    std::int64_t eTodayWh = 0;
};
