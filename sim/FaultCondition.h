#pragma once

#include <cstdint>
#include <map>
#include <string>

namespace sim {

// A fault an inverter reports in its runtime data: a fault work mode (2 or 3),
// its error bits, and fault-time values that replace the defaults, keyed by
// runtime field identifier.
struct FaultCondition {
    int mode = 2;
    std::uint32_t errorBits = 0;
    std::map<std::uint8_t, std::uint16_t> values;

    // "mode=2 bits=0x00000400 3D=350"
    std::string Describe() const;
};

} // namespace sim
