#pragma once

#include "MinuteBuckets.h"
#include "PlantSnapshot.h"

#include <ctime>
#include <optional>
#include <string>
#include <vector>

// Stretches up to this long between points count as continuous power.
inline constexpr int CURVE_STEP_SECONDS = 300;

// The plant's power by minute: each inverter's mean, summed.
std::vector<DayPoint> PlantPowerCurve(const PlantSnapshot& snapshot);
// At most one point a minute, with the minute's lowest and highest sample.
std::vector<DayPoint> InverterPowerCurve(const InverterView& inverter);
// kWh fed in from the start of the curve up to each point.
std::vector<DayPoint> EnergyCurve(const std::vector<DayPoint>& power);

struct SummaryCurve {
    int status = 200;    // 503 when there is no summary to read, 500 when it fails
    std::string problem; // when the status is not 200
    std::vector<DayPoint> power;
};

// A past day of an inverter (or of the plant, serial empty) from the history
// summary.
SummaryCurve SummaryDayCurve(const std::string& summaryPath, int dayKey, const std::string& serial);
// The yyyymmdd key of a "YYYY-MM-DD" text; nothing when it is no date.
std::optional<int> DayKeyOfText(const std::string& text);
int TodayKey();
