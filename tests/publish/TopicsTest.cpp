#include "publish/Topics.h"

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
    EXPECT_EQ(topics.SensorConfig("S1", "pac_w"),
              "homeassistant/sensor/heliowatch_S1/pac_w/config");
    EXPECT_EQ(topics.HomeAssistantStatus(), "homeassistant/status");
}

} // namespace
