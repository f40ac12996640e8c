#pragma once

#include <cstdint>
#include <string>

// The text of the lowest set error bit; empty when no bit is set.
std::string FaultText(std::uint32_t errorBits);

// "Wait", "Normal", "Fault" or "Permanent Fault" for work modes 0 to 3;
// empty for any other value.
std::string ModeText(int mode);

// Index of the lowest set bit, or -1 when none is set.
int LowestSetBit(std::uint32_t bits);
