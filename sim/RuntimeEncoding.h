#pragma once

#include "InverterKind.h"
#include "InverterReading.h"

#include <cstdint>
#include <vector>

namespace sim {

// The 16-bit value an inverter of the kind sends for a runtime field
// identifier; 0 for identifiers it does not know.
std::uint16_t RuntimeFieldValue(InverterKind kind, const InverterReading& reading, std::uint8_t id);

// One big-endian value per identifier of the field list.
std::vector<std::uint8_t> EncodeRuntimeData(InverterKind kind, const InverterReading& reading,
                                            const std::vector<std::uint8_t>& fields);

} // namespace sim
