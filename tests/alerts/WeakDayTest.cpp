#include "FakeClock.h"
#include "HistoryFixture.h"
#include "LocalTime.h"
#include "PastHistory.h"
#include "RecordingChannel.h"
#include "alerts/AlertCenter.h"
#include "store/CivilDays.h"
#include "store/PlantTotals.h"

#include <gtest/gtest.h>

namespace {

const std::string WEAK = "SIM0000000003002";

// Four inverters on one bus: fourteen days of changing weather, then the
// day under test, cloudy for all.
class WeakDayTest : public HistoryFixture {
protected:
    std::vector<Alert> EndOfDay(double weakShare) {
        const std::int64_t cloudyDay = CivilDays::FromDate(2026, 6, 15);
        sim::PastHistoryPlan plan;
        std::string error;
        plan.buses.push_back(*sim::BusLayout::Parse("COM3:single*4", error));
        plan.days = 15;
        plan.intervalSeconds = 300;
        plan.sky = [=](const std::string& serial, std::int64_t day) {
            if (day != cloudyDay) {
                return 0.5 + 0.125 * static_cast<double>(day % 5);
            }
            return serial == WEAK ? 0.35 * weakShare : 0.35;
        };
        sim::PastHistoryResult written;
        EXPECT_TRUE(sim::WritePastHistory(plan, HistLog(), LocalTime(2026, 6, 16, 12, 0, 0),
                                          written, error))
            << error;
        Rebuild();

        FakeClock clock(LocalTime(2026, 6, 15, 23, 0, 30));
        AlertCenter center(clock);
        std::string problem;
        EXPECT_TRUE(center.Open(DataDirectory(), problem)) << problem;
        AlertSettings settings;
        settings.dailySummary = true;
        auto record = std::make_shared<RecordingChannel::Record>();
        std::vector<std::unique_ptr<AlertChannel>> channels;
        channels.push_back(std::make_unique<RecordingChannel>(record));
        center.Configure(settings, std::move(channels), false);
        for (int tick = 0; tick < 2; ++tick) {
            center.OnPlantTotals(PlantTotals{});
            center.Dispatcher().DeliverDue();
            clock.Advance(std::chrono::minutes(10));
        }
        return record->alerts;
    }
};

std::vector<Alert> OfRule(const std::vector<Alert>& alerts, const std::string& rule) {
    std::vector<Alert> found;
    std::copy_if(alerts.begin(), alerts.end(), std::back_inserter(found),
                 [&](const Alert& alert) { return alert.rule == rule; });
    return found;
}

TEST_F(WeakDayTest, AnInverterAt40PercentOfItsShareIsTheOneToldOfThatEvening) {
    const std::vector<Alert> alerts = EndOfDay(0.4);
    const auto weak = OfRule(alerts, "weak-day");
    ASSERT_EQ(weak.size(), 1U);
    EXPECT_EQ(weak[0].serial, WEAK);
    EXPECT_EQ(weak[0].state, AlertState::Report);
    EXPECT_NE(weak[0].text.find(" 40 % "), std::string::npos) << weak[0].text;
    const auto summary = OfRule(alerts, "daily-summary");
    ASSERT_EQ(summary.size(), 1U);
    EXPECT_NE(summary[0].text.find(WEAK + ": "), std::string::npos) << summary[0].text;
}

TEST_F(WeakDayTest, ACloudyDayForAllRaisesNothing) {
    EXPECT_TRUE(OfRule(EndOfDay(1.0), "weak-day").empty());
}

} // namespace
