#pragma once

#include "FaultCondition.h"
#include "InverterProfile.h"
#include "InverterReading.h"

namespace sim {

// Turns a healthy reading into that of a unit in the fault: disconnected from
// the grid, reporting the fault mode and error bits, and with fault-time values
// that fit the lowest error bit unless the condition names its own.
void ApplyFault(InverterReading& reading, const InverterProfile& profile,
                const FaultCondition& condition);

} // namespace sim
