#pragma once

#include <cstddef>

// An inverter's serial number is 16 bytes on the bus and in the fault file.
inline constexpr std::size_t SERIAL_NO_LENGTH = 16;
