#pragma once

#include "InverterProfile.h"

#include <array>
#include <cstdint>

namespace sim {

// The 64-byte description an inverter sends for the device-info query.
std::array<std::uint8_t, 64> EncodeDeviceInfo(const InverterProfile& profile);

} // namespace sim
