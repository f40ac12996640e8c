#pragma once

#include "LocalDayTime.h"

#include <cstdint>

namespace sim {

// Where an inverter's lifetime counters start: what they held at the origin,
// after which they grow with the sun.
struct EnergyCounters {
    LocalDayTime origin;
    std::uint32_t eTotalBase = 0; // 0.1 kWh
    std::uint32_t hTotalBase = 0; // h
};

} // namespace sim
