#pragma once

#include "PlantSnapshot.h"

#include <ctime>
#include <optional>
#include <string>
#include <vector>

class PlantDayCurves;

// One stretch of a day's power curve: its mean, and its lowest and highest
// sample where they are known.
struct PowerRow {
    std::time_t time = 0; // the stretch's start
    double meanW = 0.0;
    std::optional<double> minW;
    std::optional<double> maxW;
};

// Energy fed in from the start of the day to the end of a stretch.
struct EnergyPoint {
    std::time_t time = 0; // the stretch's start
    double kWh = 0.0;
};

inline constexpr int TODAY_STEP_SECONDS = 60;
inline constexpr int SUMMARY_STEP_SECONDS = 300;

// What /api/plant/day and /api/inverters/<serial>/day answer.
struct DayCurve {
    int status = 200;    // 404 for an inverter not known, 503/500 when the summary fails
    std::string problem; // when the status is not 200
    int stepSeconds = TODAY_STEP_SECONDS;
    std::vector<PowerRow> power;
    std::vector<EnergyPoint> energy;
};

struct DayCurveSources {
    GroupVisitor groups;
    const PlantDayCurves* plantCurves = nullptr;
    std::string summaryFile;
};

// The day's curves of the plant (serial empty) or of one inverter: today's by
// minute from the station's day curves, each read under its lock and nothing
// more; other days' by 5 minutes from the history summary. The plant's energy
// today is its energy of the day as the window shows it; an inverter's, and
// every energy of other days, is what the power curve adds up to.
DayCurve ReadDayCurve(const DayCurveSources& sources, int dayKey, const std::string& serial);

// {"step":60,"power":[[time,mean,min,max],...],"energy":[[time,kWh],...]}, times in
// seconds since the epoch, min and max null where not known.
std::string DayCurveJson(const DayCurve& curve);

// kWh fed in from the start of the curve to the end of each stretch; a gap of
// more than one stretch counts as no power.
std::vector<EnergyPoint> EnergyOfPower(const std::vector<PowerRow>& power, int stepSeconds);

// The yyyymmdd key of a "YYYY-MM-DD" text; nothing when it is no date.
std::optional<int> DayKeyOfText(const std::string& text);
int TodayKey();
