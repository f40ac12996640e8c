#include "LongDayData.h"

#include "InverterFactory.h"
#include "history/SummaryRebuild.h"
#include "model/SingleRuntimeData.h"
#include "platform/DataDirectory.h"
#include "store/HistoryFileName.h"
#include "store/HistoryLine.h"
#include "store/LocalCalendar.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <numbers>

namespace {
constexpr int ZONE_LOCAL_HOUR = 19; // a day started long ago, far from its end
constexpr int SECONDS_PER_DAY = 86'400;
constexpr int LATEST_START = 23 * 3600;
constexpr std::int64_t PER_INVERTER =
    LongDay::SAMPLES / (LongDay::BUSES * LongDay::INVERTERS_PER_BUS) + 1;

std::string CacheDirectory() {
    const char* set = std::getenv("HELIOWATCH_LONGDAY_DATA");
    return set != nullptr && *set != '\0' ? set : "/var/tmp/heliowatch-longday";
}

void UseZone(const std::string& zone) {
    setenv("TZ", zone.c_str(), 1);
    tzset();
}

int SecondOfLocalDay(std::time_t time) {
    std::tm local{};
    localtime_r(&time, &local);
    return local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec;
}

// A fixed zone whose clock reads about 19:00 now (POSIX names the offset
// west of UTC, after a name of at least three letters: a shorter one makes
// the zone UTC).
std::string LateZone(std::time_t now) {
    const int utcMinute = static_cast<int>(now % SECONDS_PER_DAY) / 60;
    int east = (ZONE_LOCAL_HOUR * 60 - utcMinute + 24 * 60) % (24 * 60);
    east = east > 12 * 60 ? east - 24 * 60 : east;
    char zone[32];
    std::snprintf(zone, sizeof zone, "HWT%c%02d:%02d", east > 0 ? '-' : '+', std::abs(east) / 60,
                  std::abs(east) % 60);
    return zone;
}

bool Usable(const std::string& zone, int dayKey, std::time_t now) {
    UseZone(zone);
    const int second = SecondOfLocalDay(now);
    return LocalCalendar().DayKeyOf(now) == dayKey && second >= PER_INVERTER + 300 &&
           second < LATEST_START;
}

// A clear day of about 2.8 kW, each inverter a little apart.
int PowerDeciWatts(int second, int inverter) {
    const double daylight = (second - 6 * 3600) / (14.0 * 3600);
    if (daylight <= 0 || daylight >= 1) {
        return 0;
    }
    return static_cast<int>(28000 * std::sin(std::numbers::pi * daylight) *
                            (0.9 + 0.002 * (inverter % 50)));
}

bool WriteInverter(const std::string& path, int inverter, std::time_t midnight) {
    SingleRuntimeData data;
    data.m_nVac = 2300;
    data.m_nFac = 5000;
    data.m_nTemp = 350;
    data.m_dwETotal = 40'000 + static_cast<std::uint32_t>(inverter);
    std::string text(SINGLE_HISTORY_HEADER);
    text.reserve(static_cast<std::size_t>(PER_INVERTER) * 100);
    double wattSeconds = 0.0;
    for (int second = 0; second < PER_INVERTER; ++second) {
        const int deciWatts = PowerDeciWatts(second, inverter);
        wattSeconds += deciWatts / 10.0;
        data.m_tSample = midnight + second;
        data.m_nPac = static_cast<std::uint16_t>(deciWatts);
        data.m_nEToday = static_cast<std::uint16_t>(wattSeconds / 36'000);
        text += SingleHistoryLine(data);
    }
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << text;
    return static_cast<bool>(file);
}

bool Make(const LongDay& day, std::string& error) {
    std::filesystem::remove_all(day.dataDirectory);
    std::filesystem::create_directories(day.dataDirectory + "/HistLog");
    const sim::InverterFactory factory;
    int inverter = 0;
    for (int port = 1; port <= LongDay::BUSES; ++port) {
        for (int position = 1; position <= LongDay::INVERTERS_PER_BUS; ++position, ++inverter) {
            const std::string path = day.dataDirectory + "/HistLog/" +
                                     HistoryFileName(factory.SerialFor(port, position));
            if (!WriteInverter(path, inverter, day.midnight)) {
                error = "cannot write " + path;
                return false;
            }
        }
    }
    SetDataDirectory(day.dataDirectory);
    RebuildReport report;
    return RebuildSummary({}, report, &error);
}
} // namespace

bool PrepareLongDay(LongDay& day, std::string& error) {
    const std::string cache = CacheDirectory();
    day.dataDirectory = cache + "/data";
    const std::time_t now = std::time(nullptr);
    std::ifstream kept(cache + "/zone");
    int dayKey = 0;
    if (kept >> day.zone >> dayKey && Usable(day.zone, dayKey, now)) {
        day.midnight = LocalCalendar().Bounds(dayKey).start;
        return true;
    }
    day.zone = LateZone(now);
    UseZone(day.zone);
    LocalCalendar calendar;
    dayKey = calendar.DayKeyOf(now);
    day.midnight = calendar.Bounds(dayKey).start;
    std::fprintf(stderr, "making today's history of %d inverters in %s (TZ=%s)...\n",
                 LongDay::BUSES * LongDay::INVERTERS_PER_BUS, cache.c_str(), day.zone.c_str());
    if (!Make(day, error)) {
        return false;
    }
    std::ofstream(cache + "/zone") << day.zone << "\n" << dayKey << "\n";
    return true;
}
