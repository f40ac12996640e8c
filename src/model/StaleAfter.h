#pragma once

#include <ctime>

class CInverterGroup;

// Seconds after its sample that a reading turns stale: two sampling periods
// plus one polling cycle of its port, rounded up. The views judge readings by
// it and the communication thread schedules its cycles by it.
std::time_t StaleAfterSeconds(const CInverterGroup& group, int intervalSeconds);
