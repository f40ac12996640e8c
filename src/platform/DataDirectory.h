#pragma once

#include <string>

// Where the station keeps its history: set once at start-up (--data-dir, else
// DefaultDataDirectory()).
void SetDataDirectory(const std::string& directory);
std::string DataDirectory();
// DataDirectory() + "/HistLog"
std::string HistLogDirectory();

// Data folders are never left open to other users by a loose umask.
inline constexpr unsigned DATA_FOLDER_MODE = 0755;

// Creates the data directory and its HistLog folder where they are missing.
// False, with the reason, when that is not possible.
[[nodiscard]] bool CreateDataDirectories(std::string* reason = nullptr);
