#pragma once

#include <cstdint>
#include <ctime>
#include <string>

// Wh as kWh with a dot and the given number of decimals (at most 3), rounded
// half away from zero.
std::string KilowattHoursText(std::int64_t wattHours, int decimals);
