#pragma once

#include <chrono>
#include <termios.h>

namespace sim {

// How long one character takes on a line with these settings: start bit,
// data bits, parity bit and stop bits at the output speed. A speed without a
// rate (hang-up) counts as 9600 bit/s.
std::chrono::nanoseconds CharacterTime(const termios& line);

} // namespace sim
