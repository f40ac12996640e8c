#pragma once

#include <climits>

// The values a setting may take; a value outside is refused and the
// setting's default used.
struct SettingRange {
    int min;
    int max;
};

// A day: longer would overflow the views' millisecond timers.
inline constexpr int MIN_INTERVAL_SECONDS = 1;
inline constexpr int MAX_INTERVAL_SECONDS = 86400;

inline constexpr SettingRange INTERVAL_RANGE{MIN_INTERVAL_SECONDS, MAX_INTERVAL_SECONDS};
inline constexpr SettingRange SWITCH_RANGE{0, 1};
// A port number, 0 for none.
inline constexpr SettingRange PORT_NUMBER_RANGE{0, 19};
inline constexpr SettingRange ANY_INT_RANGE{INT_MIN, INT_MAX};
