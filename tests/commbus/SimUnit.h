#pragma once

#include "InverterProfile.h"
#include "InverterReading.h"

#include <array>
#include <cstdint>

// A simulated inverter as the test sees it at one moment.
struct SimUnit {
    std::uint8_t address = 0; // 0 while it has none
    int offlineBackoff = 0;
    sim::InverterProfile profile;
    sim::InverterReading reading;
    std::array<std::uint16_t, 12> params{}; // identifiers 0x40 to 0x4B
};
