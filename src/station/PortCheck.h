#pragma once

#include <cstdio>
#include <string>

// Opens each port the settings enable, and each sensor port they name, once
// and prints "COM3 /dev/ttyUSB0 ok" or "COM3 /dev/ttyUSB0 failed: <reason>".
// 0 when every port opened; 1 when one failed, the settings cannot be read
// or they enable no port.
int CheckPorts(const std::string& settingsFile, std::FILE* out);
