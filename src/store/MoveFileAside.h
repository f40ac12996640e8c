#pragma once

#include <string>

// Renames a file that must not be used any more to "<path>.bad-YYYYMMDD-HHMMSS"
// (local time, with "-N" added when that name is taken), so that nothing is
// ever overwritten or deleted. Returns false when the file could not be moved.
bool MoveFileAside(const std::string& path);
