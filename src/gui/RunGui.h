#pragma once

struct StationOptions;

// The station with its window; the exit code.
int RunGui(int argc, char** argv, const StationOptions& options);
