#pragma once

#include <memory>
#include <string>

struct StationOptions;
class SingleInstance;

// The lock file in the data directory, beside HistLog.
inline constexpr const char* DATA_DIRECTORY_LOCK_NAME = "heliowatch.lock";

// Sets the data directory from the options, creates it where missing and
// locks it for this station for as long as the result lives, so that two
// stations never write one HistLog. Null, with the reason in problem, when
// the directory cannot be created or another station holds it. A directory
// that cannot be locked for another reason is only warned about: the station
// still polls.
std::unique_ptr<SingleInstance> ClaimDataDirectory(const StationOptions& options,
                                                   std::string& problem);
