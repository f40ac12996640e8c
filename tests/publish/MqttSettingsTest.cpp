#include "store/MqttSettings.h"

#include "TempDirectory.h"

#include <QRegularExpression>
#include <QString>
#include <fstream>
#include <gtest/gtest.h>

namespace {

TEST(MqttSettingsTest, AbsentKeysTakeTheirDefaultsAndSavedOnesReadBack) {
    TempDirectory directory;
    const std::string path = directory.Path() + "/Heliowatch.ini";
    std::ofstream(path) << "; the operator's note\n[Interval]\nInterval=5\n";
    const MqttSettings defaults = LoadMqttSettings(path);
    EXPECT_FALSE(defaults.enable);
    EXPECT_EQ(defaults.port, 1883);
    EXPECT_TRUE(defaults.discovery);
    EXPECT_EQ(defaults.discoveryPrefix, "homeassistant");
    EXPECT_EQ(defaults.topicPrefix, DefaultTopicPrefix());
    EXPECT_EQ(defaults.topicPrefix.rfind("heliowatch/", 0), 0U);

    MqttSettings changed = defaults;
    changed.enable = true;
    changed.host = "broker.example";
    changed.port = 8883;
    changed.user = "station";
    changed.passwordFile = "/etc/heliowatch/mqtt-password";
    changed.tls = true;
    changed.caFile = "/etc/ssl/ca.pem";
    changed.topicPrefix = "sites/north";
    changed.discovery = false;
    changed.stationId = "north-1";
    changed.commands = true;
    ASSERT_TRUE(SaveMqttSettings(path, changed));
    EXPECT_EQ(LoadMqttSettings(path), changed);
    std::ifstream file(path);
    const std::string text{std::istreambuf_iterator<char>(file), {}};
    EXPECT_EQ(text.rfind("; the operator's note\n[Interval]\nInterval=5\n", 0), 0U);
    EXPECT_EQ(text.find("Password="), std::string::npos) << "an empty password is not kept";
}

TEST(MqttSettingsTest, TheStationIdIsDerivedFromTheMachineUnlessSetAndNeverWrittenByDefault) {
    TempDirectory directory;
    const std::string path = directory.Path() + "/Heliowatch.ini";
    std::ofstream(path) << "[Mqtt]\nHost=broker\n";
    const MqttSettings defaults = LoadMqttSettings(path);
    EXPECT_EQ(defaults.stationId, "");
    EXPECT_FALSE(defaults.commands);
    const std::string derived = StationIdOf(defaults);
    EXPECT_TRUE(QString::fromStdString(derived).contains(QRegularExpression("^[0-9a-f]{12}$")))
        << derived;
    EXPECT_EQ(DefaultStationId(), derived);
    std::ifstream machineId("/etc/machine-id");
    std::string machine;
    if (std::getline(machineId, machine) && !machine.empty()) {
        EXPECT_EQ(machine.find(derived), std::string::npos) << "never the machine id itself";
    }
    ASSERT_TRUE(SaveMqttSettings(path, defaults));
    std::ifstream file(path);
    const std::string text{std::istreambuf_iterator<char>(file), {}};
    EXPECT_EQ(text.find("StationId"), std::string::npos);
}

TEST(MqttSettingsTest, ConfigurationPagesAreWhereTheWebServerListens) {
    const struct {
        const char* web;
        std::string url;
    } cases[] = {
        {"", ""},
        {"[Web]\nEnable=0\n", ""},
        {"[Web]\nEnable=1\nListen=192.168.1.5\nPort=8081\n", "http://192.168.1.5:8081"},
        {"[Web]\nEnable=1\nListen=0.0.0.0\n", "http://" + DefaultClientId().substr(11) + ":8080"},
        {"[Web]\nEnable=1\nListen=::1\nTlsCert=/c.pem\nTlsKey=/k.pem\n", "https://[::1]:8080"},
    };
    TempDirectory directory;
    const std::string path = directory.Path() + "/Heliowatch.ini";
    for (const auto& each : cases) {
        std::ofstream(path) << each.web;
        EXPECT_EQ(LoadMqttSettings(path).webUrl, each.url) << each.web;
    }
}

TEST(MqttSettingsTest, UnusableSettingsNameTheirKey) {
    const struct {
        const char* key;
        const char* value;
        const char* problem;
    } cases[] = {
        {"Host", "", "Host is empty"},
        {"Port", "0", "Port must be a number from 1 to 65535"},
        {"Port", "70000", "Port must be a number from 1 to 65535"},
        {"Port", "abc", "Port must be a number from 1 to 65535"},
        {"TopicPrefix", "site/#", "TopicPrefix may not contain '+', '#' or control characters"},
        {"TopicPrefix", "/site", "TopicPrefix may not begin or end with '/'"},
        {"DiscoveryPrefix", "", "DiscoveryPrefix is empty"},
        {"StationId", "roof_1",
         "StationId may contain only letters, digits and '-', at most 32 of them"},
    };
    TempDirectory directory;
    const std::string path = directory.Path() + "/Heliowatch.ini";
    for (const auto& entry : cases) {
        const std::string host = std::string(entry.key) == "Host" ? "" : "Host=broker\n";
        std::ofstream(path) << "[Mqtt]\nEnable=1\n"
                            << host << entry.key << "=" << entry.value << "\n";
        EXPECT_EQ(MqttSettingsProblem(LoadMqttSettings(path)), entry.problem) << entry.key;
    }
}

} // namespace
