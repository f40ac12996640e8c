#pragma once

#include <string>

// The [Mqtt] section of Heliowatch.ini: where and how the station publishes.
struct MqttSettings {
    bool enable = false;
    std::string host;
    int port = 1883;
    std::string clientId;
    std::string user;
    std::string passwordFile;
    std::string password; // for those who accept it in the settings file
    bool tls = false;
    std::string caFile; // empty: the system's certificate authorities
    std::string topicPrefix;
    bool discovery = true;
    std::string discoveryPrefix = "homeassistant";

    bool operator==(const MqttSettings&) const = default;
};

// Keys that are absent take their defaults; the topic prefix defaults to
// "heliowatch/<host name>".
MqttSettings LoadMqttSettings(const std::string& iniPath);
// False when the file could not be written.
[[nodiscard]] bool SaveMqttSettings(const std::string& iniPath, const MqttSettings& settings);

// Empty when the settings can be used to connect; otherwise what is wrong,
// naming the key.
std::string MqttSettingsProblem(const MqttSettings& settings);

std::string DefaultTopicPrefix();
// "heliowatch-<host name>": unique per station on a shared broker.
std::string DefaultClientId();
