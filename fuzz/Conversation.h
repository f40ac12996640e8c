#pragma once

#include <ctime>

class CInverterGroup;

// Midday, so that a simulated plant produces.
inline constexpr std::time_t SAMPLE_TIME = 1781524800; // 2026-06-15 12:00 UTC

// One registration attempt, then one poll of every inverter, as a port's
// thread runs them, over the group's port and at SAMPLE_TIME.
void RegisterAndPoll(CInverterGroup& group);
