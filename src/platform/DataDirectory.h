#pragma once

#include <string>

// Where the station keeps its history: set once at start-up (--data-dir, else
// DefaultDataDirectory()).
void SetDataDirectory(const std::string& directory);
std::string DataDirectory();
// DataDirectory() + "/HistLog"
std::string HistLogDirectory();
