#pragma once

#include "FaultSnapshot.h"

#include <array>
#include <cstdint>

namespace sim {

// What an inverter measures at one moment, in the units of the bus. Strings
// and phases a unit does not have stay 0; a single-phase unit uses phase 0.
struct InverterReading {
    std::int16_t temp = 0;              // 0.1 degree Celsius
    std::array<std::uint16_t, 3> vpv{}; // 0.1 V per string
    std::array<std::uint16_t, 3> ipv{}; // 0.1 A per string
    std::array<std::uint16_t, 3> vac{}; // 0.1 V per phase
    std::array<std::uint16_t, 3> iac{}; // 0.1 A per phase
    std::array<std::uint16_t, 3> fac{}; // 0.01 Hz per phase
    std::array<std::uint16_t, 3> pac{}; // 0.1 W per phase
    std::uint16_t zac = 0;              // mOhm
    std::uint16_t eToday = 0;           // 0.01 kWh
    std::uint32_t eTotal = 0;           // 0.1 kWh
    std::array<std::uint32_t, 3> eTotalPhase{};
    std::uint32_t hTotal = 0; // h
    int mode = 0;
    std::uint32_t errorBits = 0;
    FaultSnapshot fault;

    std::uint32_t PacTotal() const { return std::uint32_t{pac[0]} + pac[1] + pac[2]; }
};

} // namespace sim
