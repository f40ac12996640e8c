#pragma once

#include "platform/Outcome.h"

#include <string>

// Renames a file that must not be used any more to "<path>.bad-YYYYMMDD-HHMMSS"
// (local time, with "-N" added when that name is taken), so that nothing is
// ever overwritten or deleted. The new path, or why the file stayed.
[[nodiscard]] Outcome<std::string> MoveFileAside(const std::string& path);
