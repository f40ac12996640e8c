#pragma once

#include "alerts/AlertChannel.h"

#include <cstdio>
#include <memory>

struct StationOptions;

struct MqttSettings;

// The desktop's channel, which only a program with a window has.
using DesktopChannelMaker = std::unique_ptr<AlertChannel> (*)();

// --test-alert CHANNEL: sends one test alert through the channel as the
// settings file sets it up, and prints "CHANNEL: sent" or "CHANNEL: " and
// why not. The exit status is 0 when it went, 1 when not.
// One test alert on the broker's alert topic over a connection of its own;
// empty when it left, otherwise why not.
std::string SendBrokerTestAlert(const MqttSettings& mqtt);

int SendTestAlertCommand(int argc, char** argv, const StationOptions& options,
                         DesktopChannelMaker desktop, std::FILE* out);
