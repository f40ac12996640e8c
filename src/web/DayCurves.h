#pragma once

#include "PlantSnapshot.h"

#include <ctime>
#include <optional>
#include <string>
#include <vector>

struct DayPoint {
    std::time_t time = 0;
    double watts = 0.0;
};

inline constexpr int CURVE_STEP_SECONDS = 300;

// The plant's power by 5-minute stretch: each inverter's mean, summed.
std::vector<DayPoint> PlantPowerCurve(const PlantSnapshot& snapshot);
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
