#pragma once

#include <string>

// Sent at QoS 0: on one connection messages arrive in the order sent, and
// whatever a lost connection swallowed is sent again after the next one.
struct MqttMessage {
    std::string topic;
    std::string payload; // empty with retain clears the topic's retained message
    bool retain = false;
};
