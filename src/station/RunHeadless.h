#pragma once

struct StationOptions;

// The station without windows until SIGINT or SIGTERM; the exit code.
int RunHeadless(const StationOptions& options);
