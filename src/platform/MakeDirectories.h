#pragma once

#include <string>
#include <sys/types.h>

// Creates path and every missing folder above it, each new one with exactly
// `mode`, whatever the umask. An existing folder is left as it is. False, with
// the reason, when a part cannot be created or is not a folder.
[[nodiscard]] bool MakeDirectories(const std::string& path, mode_t mode,
                                   std::string* reason = nullptr);
