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
    // Part of every unique id, so that stations sharing a broker never
    // collide; empty: derived from the machine's identity.
    std::string stationId;
    // Home Assistant may press the station's buttons.
    bool commands = false;
    // Where the station's web pages are, from [Web]; empty while they are
    // off. Not a key of its own.
    std::string webUrl;

    bool operator==(const MqttSettings&) const = default;
};

// Keys that are absent take their defaults; the topic prefix defaults to
// "heliowatch/<host name>".
MqttSettings LoadMqttSettings(const std::string& iniPath);
// False when the file could not be written.
[[nodiscard]] bool SaveMqttSettings(const std::string& iniPath, const MqttSettings& settings,
                                    std::string* problem = nullptr);

// Empty when the settings can be used to connect; otherwise what is wrong,
// naming the key.
std::string MqttSettingsProblem(const MqttSettings& settings);

std::string DefaultTopicPrefix();
// "heliowatch-<host name>": unique per station on a shared broker.
std::string DefaultClientId();
// 12 hexadecimal digits of a hash of /etc/machine-id (of the host name when
// there is none): stable for the machine, and the machine id itself is never
// shown.
std::string DefaultStationId();
// The settings' station id, or the default when they leave it empty.
std::string StationIdOf(const MqttSettings& settings);
