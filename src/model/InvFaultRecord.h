#pragma once

#include "SerialNumber.h"

#include <array>
#include <cstdint>

// One fault episode, exactly as stored in the fault record file (40 bytes,
// little-endian on the supported targets).
struct InvFaultRecord {
    std::array<char, SERIAL_NO_LENGTH> serialNo{}; // NUL-filled; a 16-character number has no NUL
    std::uint16_t mode = 0;
    std::uint16_t reserved1 = 0;
    std::uint32_t errorBits = 0;
    std::uint16_t value1 = 0;
    std::uint16_t value2 = 0;
    std::uint16_t value3 = 0;
    std::uint16_t reserved2 = 0;
    std::int32_t startTime = 0;
    std::int32_t endTime = 0;
};
static_assert(sizeof(InvFaultRecord) == 40, "fault records are 40 bytes on disk");
