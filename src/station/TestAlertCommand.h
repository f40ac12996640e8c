#pragma once

#include "alerts/AlertChannel.h"

#include <cstdio>
#include <memory>

struct StationOptions;

// The desktop's channel, which only a program with a window has.
using DesktopChannelMaker = std::unique_ptr<AlertChannel> (*)();

// --test-alert CHANNEL: sends one test alert through the channel as the
// settings file sets it up, and prints "CHANNEL: sent" or "CHANNEL: " and
// why not. The exit status is 0 when it went, 1 when not.
int SendTestAlertCommand(int argc, char** argv, const StationOptions& options,
                         DesktopChannelMaker desktop, std::FILE* out);
