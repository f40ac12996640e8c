#pragma once

#include <QByteArray>
#include <string>

struct MqttMessage {
    std::string topic;
    QByteArray payload; // empty with retain clears the topic's retained message
    int qos = 0;
    bool retain = false;
};
