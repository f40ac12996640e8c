#pragma once

struct StationOptions;

// --rebuild-history and --report: the history summary from the command line,
// without the station. The exit code.
int RunHistoryCommand(const StationOptions& options);
