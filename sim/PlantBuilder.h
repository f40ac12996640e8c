#pragma once

#include "InverterFactory.h"
#include "SimOptions.h"
#include "SimServerConfig.h"

#include <cstdint>

namespace sim {

// Turns the command line into the plant it asks for.
InverterFactory MakeFactory(const SimOptions& options);
SimServerConfig MakeServerConfig(const SimOptions& options, const InverterFactory& factory);
// Where the simulated clock starts, given the real time now.
std::int64_t SimulatedStart(const SimOptions& options, std::int64_t now);

} // namespace sim
