#pragma once

#include "EnergyCounters.h"
#include "InverterProfile.h"
#include "InverterReading.h"

#include <cstdint>

namespace sim {

// The reading of a healthy inverter at a moment of simulated time.
InverterReading ComputeReading(const InverterProfile& profile, const EnergyCounters& counters,
                               std::int64_t now);

// The lifetime energy in 0.1 kWh and, for a three-phase unit, its split over
// the phases.
void SetLifetimeEnergy(InverterReading& reading, InverterKind kind, std::uint32_t tenths);

} // namespace sim
