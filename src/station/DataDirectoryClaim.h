#pragma once

#include <memory>
#include <string>

struct StationOptions;
class SingleInstance;

// The lock file in the data directory, beside HistLog.
inline constexpr const char* DATA_DIRECTORY_LOCK_NAME = "heliowatch.lock";

// Sets the data directory from the options, creates it where missing and
// locks it for this station for as long as the result lives, so that two
// stations never write one HistLog. Null, with the reason in problem and the
// exit status the station ends with, when another station holds it
// (EXIT_ANOTHER_STATION) or it cannot be made or written in
// (EXIT_DATA_DIRECTORY): a station that cannot keep history does not start.
std::unique_ptr<SingleInstance> ClaimDataDirectory(const StationOptions& options,
                                                   std::string& problem, int& exitStatus);
