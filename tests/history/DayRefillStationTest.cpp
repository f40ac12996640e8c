#include "HistoryFixture.h"
#include "HistoryLines.h"
#include "SimulatedPlant.h"
#include "WaitUntil.h"
#include "comm/CommEnvironment.h"
#include "comm/CommShared.h"
#include "history/StationHistory.h"
#include "model/InverterGroup.h"
#include "platform/PortDirectory.h"
#include "store/HeliowatchDoc.h"
#include "store/HistoryFileName.h"
#include "store/LocalCalendar.h"

#include <algorithm>
#include <fstream>
#include <future>

namespace {

using namespace std::chrono_literals;

constexpr int PORT = 3;
constexpr int INVERTERS = 2;
constexpr int MORNING_STEP = 2;

int LinesOf(const std::string& path) {
    std::ifstream file(path);
    return static_cast<int>(
        std::count(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>(), '\n'));
}

class DayRefillStationTest : public HistoryFixture {
protected:
    void SetUp() override {
        HistoryFixture::SetUp();
        ASSERT_TRUE(plant.Start());
        SetPortDirectory(plant.PortDirectory());
        std::ofstream(DataDirectory() + "/Heliowatch.ini")
            << "[Interval]\r\nInterval=1\r\n[Bus]\r\nFastReplies=1\r\n[Com3]\r\nEnable=1\r\n";
    }
    void TearDown() override {
        g_viewsCreated = 0;
        g_nInterval = 2;
        g_bFastReplies = false;
        SetPortDirectory("");
        HistoryFixture::TearDown();
    }
    std::string FileOf(int position) const {
        return InHistLog(HistoryFileName(plant.Unit(position).profile.serialNo));
    }
    // Today's power of every inverter from `from` to `to` before the start.
    void WriteMorning(std::time_t from, std::time_t to) {
        for (int position = 1; position <= INVERTERS; ++position) {
            std::vector<LineSample> samples;
            for (std::time_t time = from; time < to; time += MORNING_STEP) {
                samples.push_back({time, 700 + position * 100, 50, 40000});
            }
            WriteBytes(FileOf(position), SingleFile(samples));
        }
    }
    CDaySeries PlantPower(const CHeliowatchDoc& document) const {
        CDaySeries power;
        document.PlantCurves().Read(
            [&](const CDaySeries& curve, const CDaySeries&) { power = curve; });
        return power;
    }
    std::vector<std::time_t> FirstTimes(const CHeliowatchDoc& document) const {
        std::vector<std::time_t> first;
        CInverterGroup& group = *document.GetGroups().front();
        auto lock = group.Lock();
        for (const auto& inverter : group.m_inverters) {
            first.push_back(inverter->m_powerGraph.FirstTime());
        }
        return first;
    }

    SimulatedPlant plant{PORT, INVERTERS};
};

// The refill is held back: the station registers and polls at once and writes
// its lines meanwhile; the plant's curve waits for its past rather than begin
// low, and once the past is read it leads into the live curve across a gap,
// without a point at zero.
TEST_F(DayRefillStationTest, PollingGoesOnWhileTheDayIsReadBack) {
    LocalCalendar calendar;
    const std::time_t now = std::time(nullptr);
    const std::time_t today = calendar.Bounds(calendar.DayKeyOf(now)).start;
    if (now - today < 900) {
        GTEST_SKIP() << "too early in the day for a morning before the start";
    }
    const std::time_t morning = std::max(today, now - 3600) / 30 * 30;
    const std::time_t stopped = now - 300;
    WriteMorning(morning, stopped);
    const int morningLines = LinesOf(FileOf(1));

    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    StationHistory history(100ms);
    history.Refill().SetGate([released] { released.wait(); });
    CHeliowatchDoc document(CommEnvironment::Default(), DataDirectory() + "/Heliowatch.ini");
    document.FollowHistory(&history);
    ASSERT_TRUE(document.OnNewDocument());
    g_viewsCreated = 1;

    EXPECT_TRUE(WaitUntil(
        [&] {
            return LinesOf(FileOf(1)) > morningLines + 3 && LinesOf(FileOf(2)) > morningLines + 3;
        },
        20s));
    for (const std::time_t first : FirstTimes(document)) {
        EXPECT_GE(first, now);
    }
    EXPECT_TRUE(PlantPower(document).Empty());

    release.set_value();
    EXPECT_TRUE(WaitUntil(
        [&] {
            const auto first = FirstTimes(document);
            return PlantPower(document).FirstTime() == morning &&
                   std::all_of(first.begin(), first.end(),
                               [&](std::time_t time) { return time == morning; });
        },
        20s));
    std::time_t before = 0;
    PlantPower(document).ForEachVertex([&](const CCurveVertex& vertex) {
        EXPECT_GT(vertex.m_dValue, 0.0);
        if (vertex.m_time >= stopped && before < stopped) {
            EXPECT_GE(vertex.m_time, now); // the station was down: a gap
        }
        before = vertex.m_time;
    });
    document.OnCloseDocument();
}

} // namespace
