#pragma once

#include "SerialPort.h"

#include <chrono>
#include <termios.h>

// The current terminal settings with speed, data bits, parity and stop bits
// replaced and the line made raw for binary frames. A speed or character
// size the terminal has no code for keeps the current one.
termios RawLine(const termios& current, const SerialSettings& settings);

// False when the terminal refused the settings.
bool ApplyLineSettings(int fd, const SerialSettings& settings);

// How long one character takes on the line: start bit, data bits, parity bit
// and stop bits at the line's speed.
std::chrono::nanoseconds CharacterTime(const SerialSettings& settings);
