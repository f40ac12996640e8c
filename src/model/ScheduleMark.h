#pragma once

#include <chrono>
#include <ctime>

// The moment the communication thread began a step of its schedule, on both
// clocks: the wall clock's second keeps polling on whole seconds, the
// monotonic reading measures the wait whatever the wall clock does.
struct ScheduleMark {
    std::time_t m_tWall = 0;
    std::chrono::milliseconds m_monotonic{0};
};
