#pragma once

#include <ctime>

// A local calendar time as the station's clock would give it.
std::time_t LocalTime(int year, int month, int day, int hour, int minute, int second);
