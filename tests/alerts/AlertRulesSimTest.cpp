#include "LocalTime.h"
#include "VirtualStation.h"
#include "store/FaultText.h"

#include <gtest/gtest.h>

namespace {
using namespace std::chrono_literals;

AlertSettings Settings() {
    AlertSettings settings;
    settings.repeatMinutes = 60;
    return settings;
}

TEST(AlertRulesSimTest, AFaultRaisesOneAlertWithItsTextAndValueAndItsEndOne) {
    VirtualStation station(3, LocalTime(2026, 6, 15, 10, 0, 0), Settings());
    station.RunFor(60s);
    ASSERT_EQ(station.Execute("set COM3:2 fault 2 0x400").rfind("ok", 0), 0U);
    station.RunFor(30s);
    const auto opened = station.Alerts("fault", AlertState::Open);
    ASSERT_EQ(opened.size(), 1U);
    EXPECT_EQ(opened[0].serial, station.Serial(2));
    EXPECT_EQ(opened[0].port, 3);
    EXPECT_NE(opened[0].text.find(FaultText(0x400)), std::string::npos) << opened[0].text;
    EXPECT_NE(opened[0].text.find("GFCI : 0:450 A"), std::string::npos) << opened[0].text;

    station.Execute("clear COM3:2");
    station.RunFor(5min);
    const auto closed = station.Alerts("fault", AlertState::Closed);
    ASSERT_EQ(closed.size(), 1U);
    EXPECT_NE(closed[0].text.find("out of fault after"), std::string::npos) << closed[0].text;
    EXPECT_EQ(station.Alerts().size(), 2U);
}

TEST(AlertRulesSimTest, AFaultFlappingWithinTheRepeatWindowGivesOneAlertWithACount) {
    VirtualStation station(2, LocalTime(2026, 6, 15, 10, 0, 0), Settings());
    station.RunFor(60s);
    station.Execute("set COM3:1 episode 300 60 2 0x400"); // a minute in every five
    station.RunFor(30min);
    station.Execute("clear COM3:1");
    station.RunFor(5min);
    EXPECT_EQ(station.Alerts("fault", AlertState::Open).size(), 1U);
    EXPECT_EQ(station.Alerts("fault", AlertState::Closed).size(), 1U);

    station.RunFor(30min); // the hour since the first opening ends
    const auto alerts = station.Alerts();
    ASSERT_EQ(alerts.size(), 3U);
    EXPECT_EQ(alerts[2].state, AlertState::Closed);
    EXPECT_EQ(alerts[2].count, 6);
    EXPECT_NE(alerts[2].text.find("6 times"), std::string::npos) << alerts[2].text;
}

TEST(AlertRulesSimTest, ASilentInverterRaisesNothingAtNightAndOneAfterItsLimitInDaylight) {
    {
        VirtualStation night(3, LocalTime(2026, 6, 15, 1, 0, 0), Settings());
        night.RunFor(60s);
        night.Execute("set COM3:2 silent on");
        night.RunFor(40min);
        EXPECT_TRUE(night.Alerts().empty());
    }
    VirtualStation day(3, LocalTime(2026, 6, 15, 11, 0, 0), Settings());
    day.RunFor(60s);
    day.Execute("set COM3:2 silent on");
    day.RunFor(14min);
    EXPECT_TRUE(day.Alerts().empty()) << "offline, but not for 15 minutes yet";
    day.RunFor(3min);
    const auto offline = day.Alerts("offline", AlertState::Open);
    ASSERT_EQ(offline.size(), 1U);
    EXPECT_EQ(offline[0].serial, day.Serial(2));
    day.RunFor(30min);
    EXPECT_EQ(day.Alerts().size(), 1U);

    day.Execute("set COM3:2 silent off");
    day.RunFor(2min);
    EXPECT_EQ(day.Alerts("offline", AlertState::Closed).size(), 1U);
}

} // namespace
