#include "publish/Topics.h"

#include "publish/DiscoveryNames.h"

#include <gtest/gtest.h>

namespace {

TEST(TopicIdTest, KeepsLettersDigitsAndDashesAndEscapesEverythingElse) {
    const struct {
        std::string serialNo;
        std::string id;
    } cases[] = {
        {"SIM0000000003001", "SIM0000000003001"},
        {"AB-12", "AB-12"},
        {"AB/1", "AB_2F1"},
        {"a+b#c", "a_2Bb_23c"},
        {"A_2F", "A_5F2F"}, // never the same as "A/"
        {" \x01\x7F", "_20_01_7F"},
        {"\xC3\xA9", "_C3_A9"},
        {"", "_"},
    };
    for (const auto& entry : cases) {
        EXPECT_EQ(TopicId(entry.serialNo), entry.id) << entry.serialNo;
    }
}

TEST(TopicsTest, NameEveryTopicUnderItsPrefix) {
    const Topics topics("solar/roof", "homeassistant");
    EXPECT_EQ(topics.Status(), "solar/roof/status");
    EXPECT_EQ(topics.State("S1"), "solar/roof/S1/state");
    EXPECT_EQ(topics.Availability("S1"), "solar/roof/S1/availability");
    EXPECT_EQ(topics.LastFault("S1"), "solar/roof/S1/last_fault");
    EXPECT_EQ(topics.Command("reconnect_all"), "solar/roof/station/command/reconnect_all");
    EXPECT_EQ(topics.DeviceConfig("heliowatch_a1_S1"),
              "homeassistant/device/heliowatch_a1_S1/config");
    EXPECT_EQ(topics.HomeAssistantStatus(), "homeassistant/status");
}

TEST(DiscoveryNamesTest, EntityIdsAreLowercaseWithSingleUnderscores) {
    const struct {
        std::string subject;
        std::string entityId;
    } cases[] = {
        {"SIM0000000003001", "sensor.heliowatch_sim0000000003001_pac_w"},
        {"AB/12 3", "sensor.heliowatch_ab_12_3_pac_w"},
        {"-X_", "sensor.heliowatch_x_pac_w"},
        {"\xC3\xA9", "sensor.heliowatch_pac_w"},
    };
    for (const auto& entry : cases) {
        EXPECT_EQ(DiscoveryNames::EntityId("sensor", entry.subject, "pac_w"), entry.entityId)
            << entry.subject;
    }
    const DiscoveryNames names("a1");
    EXPECT_EQ(names.PlantDevice(), "heliowatch_a1");
    EXPECT_EQ(names.InverterDevice("S1"), "heliowatch_a1_S1");
    EXPECT_EQ(DiscoveryNames::UniqueId(names.InverterDevice("S1"), "pac_w"),
              "heliowatch_a1_S1_pac_w");
}

} // namespace
