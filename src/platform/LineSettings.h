#pragma once

#include "SerialPort.h"

// Applies speed, data bits, parity and stop bits to the terminal and makes the
// line raw for binary frames. False when the terminal refused the settings.
bool ApplyLineSettings(int fd, const SerialSettings& settings);
