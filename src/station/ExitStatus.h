#pragma once

// What the station's exit status tells a service manager or a script.
inline constexpr int EXIT_OK = 0;
inline constexpr int EXIT_SETTINGS_OR_USAGE = 1;
inline constexpr int EXIT_DATA_DIRECTORY = 2;
inline constexpr int EXIT_ANOTHER_STATION = 3;
