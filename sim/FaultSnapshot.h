#pragma once

#include "InverterKind.h"

#include <array>
#include <cstdint>

namespace sim {

// The quantities an inverter records when a fault strikes, as sent on the bus
// (the temperature as a signed value in 16 bits). Single-phase units use
// index 0 of the per-phase values.
struct FaultSnapshot {
    std::array<std::uint16_t, 3> vpv{}; // 0.1 V per string
    std::uint16_t temp = 0;             // 0.1 degree Celsius
    std::array<std::uint16_t, 3> vac{}; // 0.1 V per phase
    std::array<std::uint16_t, 3> fac{}; // 0.01 Hz per phase
    std::uint16_t gfci = 0;             // mA
    std::uint16_t zac = 0;              // mOhm

    // The value a runtime field identifier of the kind reports, or null when
    // the identifier is not a fault-time value of that kind.
    std::uint16_t* Slot(InverterKind kind, std::uint8_t id);
    const std::uint16_t* Slot(InverterKind kind, std::uint8_t id) const;
};

} // namespace sim
