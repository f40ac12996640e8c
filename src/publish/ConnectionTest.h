#pragma once

#include "store/MqttSettings.h"

#include <chrono>
#include <string>

// Connects once with these settings and disconnects again. Empty when the
// broker accepted the station; otherwise why not, in words.
std::string TestBrokerConnection(const MqttSettings& settings,
                                 std::chrono::milliseconds timeout = std::chrono::seconds(10));
