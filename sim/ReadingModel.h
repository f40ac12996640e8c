#pragma once

#include "EnergyCounters.h"
#include "InverterProfile.h"
#include "InverterReading.h"

#include <cstdint>

namespace sim {

// The reading of a healthy inverter at a moment of simulated time.
InverterReading ComputeReading(const InverterProfile& profile, const EnergyCounters& counters,
                               std::int64_t now);

} // namespace sim
