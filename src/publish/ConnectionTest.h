#pragma once

#include "MqttMessage.h"
#include "store/MqttSettings.h"

#include <chrono>
#include <string>

// Connects once with these settings and disconnects again. Empty when the
// broker accepted the station; otherwise why not, in words.
std::string TestBrokerConnection(const MqttSettings& settings,
                                 std::chrono::milliseconds timeout = std::chrono::seconds(10));

// Connects once, publishes the message and waits until it has left. Empty
// when it went; otherwise why not, in words.
std::string PublishTestMessage(const MqttSettings& settings, const MqttMessage& message,
                               std::chrono::milliseconds timeout = std::chrono::seconds(10));
