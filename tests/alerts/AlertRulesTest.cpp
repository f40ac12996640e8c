#include "FakeClock.h"
#include "LocalTime.h"
#include "RecordingChannel.h"
#include "TempDirectory.h"
#include "alerts/AlertCenter.h"
#include "alerts/QuietHours.h"
#include "alerts/SunPosition.h"
#include "alerts/WeakDays.h"
#include "store/CivilDays.h"
#include "store/PlantTotals.h"

#include <fstream>
#include <gtest/gtest.h>

namespace {
using namespace std::chrono_literals;

constexpr int TODAY = 20260615;

// An alert center on a recording channel, its rules driven by hand.
struct Center {
    explicit Center(const AlertSettings& settings, std::time_t start) : clock(start) {
        std::string problem;
        EXPECT_TRUE(center.Open(directory.Path(), problem)) << problem;
        std::vector<std::unique_ptr<AlertChannel>> channels;
        channels.push_back(std::make_unique<RecordingChannel>(record));
        center.Configure(settings, std::move(channels), false);
    }
    void Tick(std::chrono::seconds after) {
        clock.Advance(after);
        center.OnPlantTotals(PlantTotals{});
        center.Dispatcher().DeliverDue();
    }
    std::size_t Told() const { return record->alerts.size(); }

    TempDirectory directory;
    FakeClock clock;
    std::shared_ptr<RecordingChannel::Record> record = std::make_shared<RecordingChannel::Record>();
    AlertCenter center{clock};
};

TEST(AlertRulesTest, PortBrokerAndHistoryAreToldOnlyOnceTheyHeldTheirTime) {
    std::string storage;
    std::optional<std::string> broker = "";
    const struct {
        const char* rule;
        std::function<void(Center&)> fail;
        std::chrono::minutes limit; // told nothing before
    } cases[] = {
        {"port",
         [](Center& c) {
             c.center.OnStationEvent({StationEventKind::PortFailed,
                                      0,
                                      {5, 0, "", "", false, false, 0, "/dev/ttyUSB0: gone"}});
         },
         5min},
        {"broker", [&](Center&) { broker = "connection refused"; }, 15min},
        {"history", [&](Center&) { storage = "HistLog: No space left on device"; }, 0min},
    };
    for (const auto& row : cases) {
        storage.clear();
        broker = "";
        Center c(AlertSettings{}, LocalTime(2026, 6, 15, 12, 0, 0));
        c.center.Engine()->SetStorageProbe([&] { return storage; });
        c.center.SetBrokerProbe([&] { return broker; });
        row.fail(c);
        if (row.limit > 0min) {
            c.Tick(0s);
            c.Tick(row.limit - 1min);
            EXPECT_EQ(c.Told(), 0U) << row.rule;
        }
        c.Tick(2min);
        ASSERT_EQ(c.Told(), 1U) << row.rule;
        EXPECT_EQ(c.record->alerts[0].rule, row.rule);
        c.Tick(1h);
        EXPECT_EQ(c.Told(), 1U) << row.rule;
    }
}

TEST(AlertRulesTest, QuietHoursHoldAllButFaultsUntilTheyEnd) {
    const QuietHours overnight(22 * 60, 6 * 60 + 30);
    EXPECT_EQ(overnight.Release(LocalTime(2026, 6, 15, 23, 0, 0)),
              LocalTime(2026, 6, 16, 6, 30, 0));
    EXPECT_EQ(overnight.Release(LocalTime(2026, 6, 16, 3, 0, 0)), LocalTime(2026, 6, 16, 6, 30, 0));
    EXPECT_EQ(overnight.Release(LocalTime(2026, 6, 16, 7, 0, 0)), LocalTime(2026, 6, 16, 7, 0, 0));
    const QuietHours afternoon(13 * 60, 14 * 60);
    EXPECT_EQ(afternoon.Release(LocalTime(2026, 6, 16, 13, 5, 0)),
              LocalTime(2026, 6, 16, 14, 0, 0));

    AlertSettings settings;
    settings.quietFrom = 22 * 60;
    settings.quietTo = 6 * 60;
    Center c(settings, LocalTime(2026, 6, 15, 23, 0, 0));
    std::string storage = "HistLog: Read-only file system";
    c.center.Engine()->SetStorageProbe([&] { return storage; });
    EventSubject inverter{3, 1, "SIM1", "", true, true, 0x400, ""};
    c.center.OnStationEvent({StationEventKind::FaultOpened, 0, inverter});
    c.Tick(1min);
    ASSERT_EQ(c.Told(), 1U);
    EXPECT_EQ(c.record->alerts[0].rule, "fault");
    c.Tick(6h);
    ASSERT_EQ(c.Told(), 1U) << "quiet until 06:00";
    c.Tick(1h);
    ASSERT_EQ(c.Told(), 2U);
    EXPECT_EQ(c.record->alerts[1].rule, "history");
}

TEST(AlertRulesTest, SettingsAreReadByTheirNamesAndWrongValuesFallBackToDefaults) {
    TempDirectory directory;
    const std::string path = directory.Path() + "/Heliowatch.ini";
    std::ofstream(path) << "[Alerts]\nWebhookUrl=https://ntfy.example/roof\nWebhookFormat=ntfy\n"
                           "MailTo=a@example.org, b@example.org\nOfflineMinutes=30\n"
                           "QuietFrom=22:00\nQuietTo=25:00\nLatitude=52.5\nLongitude=east\n"
                           "FaultChannels=mail,sms\nWeakDayChannels=none\nMqttSeverity=warning\n";
    const AlertSettings settings = LoadAlertSettings(path);
    EXPECT_EQ(settings.webhookFormat, WebhookFormat::Ntfy);
    EXPECT_EQ(settings.mailTo, (std::vector<std::string>{"a@example.org", "b@example.org"}));
    EXPECT_EQ(settings.offlineMinutes, 30);
    EXPECT_EQ(settings.portMinutes, 5);
    EXPECT_EQ(settings.quietFrom, 22 * 60);
    EXPECT_FALSE(settings.quietTo);
    EXPECT_EQ(settings.latitude, 52.5);
    EXPECT_FALSE(settings.longitude);
    EXPECT_TRUE(RuleUsesChannel(settings, "fault", "mail"));
    EXPECT_FALSE(RuleUsesChannel(settings, "fault", "webhook"));
    EXPECT_FALSE(RuleEnabled(settings, AlertRule::WeakDay));
    EXPECT_FALSE(RuleEnabled(settings, AlertRule::DailySummary));
    EXPECT_TRUE(RuleEnabled(settings, AlertRule::Offline));
    EXPECT_EQ(settings.minimumSeverity.at("mqtt"), Severity::Warning);
}

TEST(AlertRulesTest, WeakDaysAreJudgedOnlyWithEnoughHistoryAndAPlantToCompareWith) {
    const auto days = [](std::int64_t past, std::int64_t today, int count) {
        std::map<int, std::int64_t> yields;
        for (int back = 1; back <= count; ++back) {
            yields[CivilDays::AddDays(TODAY, -back)] = past;
        }
        yields[TODAY] = today;
        return yields;
    };
    EXPECT_EQ(WeakInverters({{"A", days(10000, 3000, 14)}, {"B", days(10000, 3000, 14)}}, TODAY, 60)
                  .size(),
              0U)
        << "cloudy for all";
    EXPECT_EQ(WeakInverters({{"A", days(10000, 3000, 14)}, {"B", days(10000, 7000, 14)}}, TODAY, 60)
                  .size(),
              1U);
    EXPECT_EQ(
        WeakInverters({{"A", days(10000, 3000, 2)}, {"B", days(10000, 7000, 2)}}, TODAY, 60).size(),
        0U)
        << "two days of history";
    EXPECT_EQ(WeakInverters({{"A", days(10000, 3000, 14)}}, TODAY, 60).size(), 0U) << "alone";
}

TEST(AlertRulesTest, TheSunIsUpAtNoonInSummerAndDownAtMidnight) {
    const std::time_t noonUtc = 1781524800; // 2026-06-15 12:00 UTC
    EXPECT_GT(SunElevation(52.5, 13.4, noonUtc), 55.0);
    EXPECT_LT(SunElevation(52.5, 13.4, noonUtc + 12 * 3600), 0.0);
    EXPECT_LT(SunElevation(-33.9, 151.2, noonUtc), 0.0) << "night in Sydney";
}

} // namespace
