#pragma once

#include "TestAlertCommand.h"

struct StationOptions;

// The station with its window, for programs that have one; the exit code.
using WindowRunner = int (*)(int argc, char** argv, const StationOptions& options);

// The whole program: verbs, the headless station, or the window through
// runWindow in the window's own program (null in the station's, which hands
// the window to that program); desktop makes the window's notification
// channel for --test-alert desktop.
int StationMain(int argc, char** argv, WindowRunner runWindow,
                DesktopChannelMaker desktop = nullptr);
