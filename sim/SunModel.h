#pragma once

#include "LocalDayTime.h"

namespace sim {

// The sun over a local day: a half sine from sunrise to sunset, the same every
// day. Energies are in hours at rated power, so one curve serves every
// inverter size, and they are integrals in closed form, so a restarted
// simulator reports the same counters as one that kept running.
namespace SunModel {

inline constexpr int SUNRISE = 6 * 3600;
inline constexpr int SUNSET = 18 * 3600;

// Output as a fraction of rated power, 0 at night.
double PowerFraction(int secondOfDay);

// Energy since local midnight.
double RatedHoursToday(int secondOfDay);

// Time with output since local midnight, in hours.
double ProductionHoursToday(int secondOfDay);

// Energy and production time from the start of day 0 up to a moment.
double RatedHoursUntil(const LocalDayTime& moment);
double ProductionHoursUntil(const LocalDayTime& moment);

} // namespace SunModel

} // namespace sim
