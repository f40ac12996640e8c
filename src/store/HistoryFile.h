#pragma once

#include <string>
#include <string_view>

// Appends one line to a history file, writing the header first when this call
// creates the file. Lines go out in one write on an append descriptor under a
// process-wide lock, so lines of two ports sharing a file never mix. Returns
// false when the line was lost (no directory, no permission, disk full).
bool AppendHistoryLine(const std::string& path, std::string_view header, std::string_view line);
