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
// Settings and dialogs offer ports 1 to LAST_PORT.
inline constexpr int LAST_PORT = 19;
// A port number, 0 for none.
inline constexpr SettingRange PORT_NUMBER_RANGE{0, LAST_PORT};
inline constexpr SettingRange TCP_PORT_RANGE{1, 65535};
inline constexpr SettingRange ANY_INT_RANGE{INT_MIN, INT_MAX};
