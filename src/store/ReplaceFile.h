#pragma once

#include <string>
#include <string_view>

enum class ReplaceOutcome { WRITTEN, OPEN_FAILED, WRITE_FAILED };

// Gives the file at path exactly these bytes, all or nothing: they go to a new
// file beside it that then takes its name, so a failed write (disk full)
// leaves the old file as it was and no half file behind. A path through a
// link replaces the file the link names; a path that names a device or a FIFO
// is written directly. reason says why when the outcome is not WRITTEN.
[[nodiscard]] ReplaceOutcome ReplaceFile(const std::string& path, std::string_view bytes,
                                         std::string* reason);
