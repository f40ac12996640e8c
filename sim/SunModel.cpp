#include "SunModel.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace sim {

namespace SunModel {

namespace {
constexpr double DAYLIGHT_SECONDS = SUNSET - SUNRISE;
constexpr double SECONDS_PER_HOUR = 3600.0;

double SunAngle(int secondOfDay) {
    const double sinceSunrise = std::clamp<double>(secondOfDay - SUNRISE, 0.0, DAYLIGHT_SECONDS);
    return std::numbers::pi * sinceSunrise / DAYLIGHT_SECONDS;
}

double FullDayRatedHours() {
    return 2.0 * DAYLIGHT_SECONDS / std::numbers::pi / SECONDS_PER_HOUR;
}
} // namespace

double PowerFraction(int secondOfDay) {
    if (secondOfDay <= SUNRISE || secondOfDay >= SUNSET) {
        return 0.0;
    }
    return std::sin(SunAngle(secondOfDay));
}

double RatedHoursToday(int secondOfDay) {
    return DAYLIGHT_SECONDS / std::numbers::pi * (1.0 - std::cos(SunAngle(secondOfDay))) /
           SECONDS_PER_HOUR;
}

double ProductionHoursToday(int secondOfDay) {
    return std::clamp<double>(secondOfDay - SUNRISE, 0.0, DAYLIGHT_SECONDS) / SECONDS_PER_HOUR;
}

double RatedHoursUntil(const LocalDayTime& moment) {
    return static_cast<double>(moment.day) * FullDayRatedHours() + RatedHoursToday(moment.second);
}

double ProductionHoursUntil(const LocalDayTime& moment) {
    return static_cast<double>(moment.day) * DAYLIGHT_SECONDS / SECONDS_PER_HOUR +
           ProductionHoursToday(moment.second);
}

} // namespace SunModel

} // namespace sim
