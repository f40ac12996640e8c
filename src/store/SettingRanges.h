#pragma once

#include "comm/CommShared.h"

#include <climits>

// The values a setting may take; a value outside is refused and the
// setting's default used.
struct SettingRange {
    int min;
    int max;
};

inline constexpr SettingRange INTERVAL_RANGE{1, MAX_INTERVAL};
inline constexpr SettingRange SWITCH_RANGE{0, 1};
// A port number, 0 for none.
inline constexpr SettingRange PORT_NUMBER_RANGE{0, 19};
inline constexpr SettingRange ANY_INT_RANGE{INT_MIN, INT_MAX};
