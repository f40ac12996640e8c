#pragma once

#include "MinuteBuckets.h"
#include "PlantSnapshot.h"

#include <ctime>
#include <optional>
#include <string>
#include <vector>

// Stretches up to this long between points count as continuous power.
inline constexpr int CURVE_STEP_SECONDS = 300;

class PlantDayCurves;

// Today by minute from the station's own day curves, each read under its lock
// and nothing copied but the minutes: the plant's power (from the minute
// holding since on), counting inverters while their readings are current and
// free of faults, and one inverter's (nothing when no inverter has the serial
// number).
std::vector<DayPoint> PlantPowerToday(const PlantDayCurves& curves, std::time_t since = 0);
std::optional<std::vector<DayPoint>> InverterPowerToday(const GroupVisitor& groups,
                                                        const std::string& serial);
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
