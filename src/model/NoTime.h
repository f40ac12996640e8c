#pragma once

#include <ctime>

// 2000-01-01 00:00:00 local time: the end time of a fault that has not ended
// and the initial registration and poll time of a group.
extern const std::time_t g_tNoTime;
