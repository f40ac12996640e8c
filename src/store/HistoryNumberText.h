#pragma once

#include <cstdint>
#include <string>

// value / 10^decimals as "<whole>.<fraction>": the whole part, with a single
// minus sign for negative values, right-aligned to `width` characters and the
// fraction zero-padded to `decimals` digits. For values from 0 up this is
// printf's "%<width>d.%0<decimals>d" of the quotient and remainder.
std::string FixedPointText(std::int64_t value, int decimals, int width);

// printf's "%<width>d".
std::string RightAlignedText(std::int64_t value, int width);
