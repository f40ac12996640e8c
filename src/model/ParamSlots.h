#pragma once

#include <array>
#include <cstdint>

// An inverter keeps twelve parameter values; the one in slot k goes on the
// bus under identifier FIRST_PARAM_ID + k.
inline constexpr std::uint16_t FIRST_PARAM_ID = 0x40;
inline constexpr std::size_t PARAM_SLOTS = 12;
using ParamValues = std::array<std::uint16_t, PARAM_SLOTS>;
