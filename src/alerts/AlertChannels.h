#pragma once

#include "AlertChannel.h"
#include "AlertSettings.h"

#include <memory>
#include <string>
#include <vector>

// The webhook and mail channels the settings turn on (a URL each).
std::vector<std::unique_ptr<AlertChannel>> ConfiguredChannels(const AlertSettings& settings);
// The webhook or mail channel by name; nothing, with the reason, when the
// settings do not give it or the name is not one of them.
std::unique_ptr<AlertChannel> ChannelByName(const std::string& name, const AlertSettings& settings,
                                            std::string& problem);
// The station's name in alerts: the host name.
std::string StationName();
// Sends one test alert through the channel now; empty when it went, else why not.
std::string SendTestAlert(AlertChannel& channel, std::time_t now);
