#pragma once

#include <ctime>

class CInverter;

// How far an inverter's last reading can be trusted: the one rule the
// window, the web pages, publishing and alerts all follow.
enum class Freshness {
    Fresh,   // answered within the last two sampling periods and a cycle
    Stale,   // its port failed or it missed polls: its values are the last known
    Offline, // the offline rule fired, or it never answered: no values to show
};

// "fresh", "stale" or "offline".
const char* FreshnessName(Freshness freshness);

// With the inverter's group locked.
Freshness FreshnessOf(const CInverter& inverter, std::time_t now, int intervalSeconds);
