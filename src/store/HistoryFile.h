#pragma once

#include <string>
#include <string_view>

// Appends one line to a history file, writing the header first when this call
// creates the file. Lines go out on an append descriptor under a process-wide
// lock, so lines of two ports sharing a file never mix, and a write that does
// not go through whole (disk full) is cut off again, so the file only ever
// holds whole lines. Returns false, with the reason in failure, when the line
// was lost (no directory, no permission, disk full, a link in the file's
// place).
[[nodiscard]] bool AppendHistoryLine(const std::string& path, std::string_view header,
                                     std::string_view line, std::string* failure = nullptr);
