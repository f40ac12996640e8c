#pragma once

#include "UniqueFd.h"

#include <string>

// Opens a history or fault file with open(2) flags. Only a regular file is
// used: a symbolic link, a FIFO or a device in its place is refused, so a
// planted link never redirects the station's writes. When creating, a HistLog
// folder removed since start-up is made again. On failure, error is the
// errno, or NOT_A_REGULAR_FILE.
UniqueFd OpenDataFile(const std::string& path, int flags, int& error);

inline constexpr int NOT_A_REGULAR_FILE = -1;

// The failure of OpenDataFile or of a write, for a person to read.
std::string DataFileProblem(const std::string& path, int error);
