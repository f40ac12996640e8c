#pragma once

#include "FaultSettings.h"
#include "comm/BusMessage.h"

#include <cstdint>
#include <vector>

namespace sim {

// A destination that is neither the station nor the broadcast address.
inline constexpr std::uint8_t MISDIRECTED_DESTINATION = 0x02;
inline constexpr std::uint8_t TRAILING_NOISE = 0x55;

// The wire bytes of a reply, spoilt as the inverter's faults say.
std::vector<std::uint8_t> EncodeReply(BusMessage reply, const FaultSettings& faults);

} // namespace sim
