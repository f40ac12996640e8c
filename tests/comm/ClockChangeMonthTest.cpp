#include "CommFixture.h"
#include "TempDirectory.h"
#include "model/RuntimeData.h"
#include "platform/DataDirectory.h"
#include "store/StationPollSink.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>

namespace {

using namespace std::chrono_literals;

constexpr int DAYS = 31;
constexpr int INTERVAL_SECONDS = 60;
// The schedule looks at whole seconds only, so a loop pass may stand for 5 s
// of virtual time (its own wait adds the last 30 ms); at 30 ms a pass a month
// would take minutes.
constexpr auto PASS_STRIDE = 5s - 30ms;

struct ClockChangeSpan {
    const char* name;
    int year, month, day;
    const char* repeatedHour; // the local hour the change repeats, or ""
    const char* missingHour;  // the local hour the change skips, or ""
};

void PrintTo(const ClockChangeSpan& span, std::ostream* out) {
    *out << span.name;
}

std::tm Local(std::time_t time) {
    std::tm local{};
    localtime_r(&time, &local);
    return local;
}

std::string LocalText(std::time_t time) {
    const std::tm local = Local(time);
    char text[32];
    std::strftime(text, sizeof text, "%Y/%m/%d %H:%M:%S", &local);
    return text;
}

// The E-Today(kWh) column of a single-phase history line.
double ETodayField(const std::string& line) {
    std::size_t at = 0;
    for (int field = 0; field < 8; ++field) {
        at = line.find(',', at) + 1;
    }
    return std::stod(line.substr(at));
}

std::time_t LocalMidnight(std::time_t time) {
    const std::tm local = Local(time);
    return LocalTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, 0, 0, 0);
}

// The station's own sink, watched: every sample time, and the first sample
// of the day series as it stands when the next sample arrives.
class WatchingSink : public PollSink {
public:
    void OnSampleDecoded(CInverter& inverter) override {
        station.OnSampleDecoded(inverter);
        sampleTimes.push_back(inverter.m_pRuntimeData->GetSampleTime());
        if (!inverter.m_powerGraph.Empty()) {
            seriesStarts.insert(inverter.m_powerGraph.FirstTime());
        }
    }

    StationPollSink station;
    std::vector<std::time_t> sampleTimes;
    std::set<std::time_t> seriesStarts;
};

class ClockChangeMonthTest : public CommFixture,
                             public ::testing::WithParamInterface<ClockChangeSpan> {
protected:
    void SetUp() override {
        if (const char* zone = std::getenv("TZ")) {
            savedZone = zone;
        }
        setenv("TZ", "Europe/Berlin", 1);
        tzset();
        CommFixture::SetUp();
        g_nInterval = INTERVAL_SECONDS;
        SetDataDirectory(data.Path());
        std::filesystem::create_directories(HistLogDirectory());
        environment.sink = &sink;
        plant.Add("MONTH00000000001");
        // E-today counts the minutes since local midnight, so it falls back to
        // zero with each new local day.
        wire.responder = [this](const BusMessage& request) {
            const std::time_t now = clock.Now();
            const auto eToday = static_cast<std::uint16_t>((now - LocalMidnight(now)) / 60);
            plant.inverters[0].runtimeValues = {0x03, 0xE8, static_cast<std::uint8_t>(eToday >> 8),
                                                static_cast<std::uint8_t>(eToday)};
            return plant.Answer(request);
        };
    }
    void TearDown() override {
        CommFixture::TearDown();
        if (savedZone) {
            setenv("TZ", savedZone->c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }

    void RunMonthFrom(const ClockChangeSpan& span) {
        const std::time_t start = LocalTime(span.year, span.month, span.day, 12, 0, 0);
        clock.StepWall(std::chrono::seconds(start - clock.Now()));
        RunFor(std::chrono::hours(24 * DAYS), [this] {
            clock.Advance(PASS_STRIDE);
            if (wire.sent.size() > 10000) {
                wire.sent.clear();
            }
        });
    }

    std::vector<std::string> HistoryLines() const {
        std::ifstream file(HistLogDirectory() + "/MONTH00000000001.csv", std::ios::binary);
        std::vector<std::string> lines;
        std::string line;
        std::getline(file, line); // header
        while (std::getline(file, line)) {
            lines.push_back(line);
        }
        return lines;
    }

    std::optional<std::string> savedZone;
    TempDirectory data;
    WatchingSink sink;
};

TEST_P(ClockChangeMonthTest, DaysHistoryAndEnergyFollowLocalMidnight) {
    const ClockChangeSpan& span = GetParam();
    RunMonthFrom(span);
    const std::vector<std::time_t>& times = sink.sampleTimes;
    const std::vector<std::string> lines = HistoryLines();
    // A poll due in the same pass as a registration attempt slips by one
    // 5 s pass, so an hour holds somewhat fewer than 60.
    ASSERT_GT(times.size(), static_cast<std::size_t>(DAYS * 24 * 45));
    ASSERT_EQ(lines.size(), times.size());

    std::set<std::time_t> firstOfEachDay{times.front()};
    std::set<std::string> hoursSeen{lines.front().substr(0, 13)};
    std::vector<std::string> hoursRepeated;
    for (std::size_t i = 1; i < times.size(); ++i) {
        ASSERT_GT(times[i], times[i - 1]) << "at sample " << i;
        ASSERT_EQ(lines[i].substr(0, 19), LocalText(times[i]));
        const bool newDay = lines[i].substr(0, 10) != lines[i - 1].substr(0, 10);
        if (newDay) {
            firstOfEachDay.insert(times[i]);
        }
        EXPECT_EQ(ETodayField(lines[i]) < ETodayField(lines[i - 1]), newDay) << lines[i];
        if (lines[i].substr(0, 19) <= lines[i - 1].substr(0, 19)) {
            hoursRepeated.push_back(lines[i].substr(0, 13));
        }
        hoursSeen.insert(lines[i].substr(0, 13));
    }
    EXPECT_EQ(firstOfEachDay.size(), static_cast<std::size_t>(DAYS + 1));
    EXPECT_EQ(sink.seriesStarts, firstOfEachDay);
    const std::vector<std::string> expectedRepeats =
        *span.repeatedHour ? std::vector<std::string>{span.repeatedHour}
                           : std::vector<std::string>{};
    EXPECT_EQ(hoursRepeated, expectedRepeats);
    if (*span.missingHour) {
        EXPECT_EQ(hoursSeen.count(span.missingHour), 0U);
    }
}

INSTANTIATE_TEST_SUITE_P(
    EuropeBerlin, ClockChangeMonthTest,
    ::testing::Values(ClockChangeSpan{"Spring", 2026, 3, 15, "", "2026/03/29 02"},
                      ClockChangeSpan{"Autumn", 2026, 10, 10, "2026/10/25 02", ""}),
    [](const auto& test) { return std::string(test.param.name); });

} // namespace
