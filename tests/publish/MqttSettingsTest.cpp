#include "store/MqttSettings.h"

#include "TempDirectory.h"

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
    ASSERT_TRUE(SaveMqttSettings(path, changed));
    EXPECT_EQ(LoadMqttSettings(path), changed);
    std::ifstream file(path);
    const std::string text{std::istreambuf_iterator<char>(file), {}};
    EXPECT_EQ(text.rfind("; the operator's note\n[Interval]\nInterval=5\n", 0), 0U);
    EXPECT_EQ(text.find("Password="), std::string::npos) << "an empty password is not kept";
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
