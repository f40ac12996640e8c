// A long day at full scale: what 19 buses of 20 inverters at 1 s keep over a
// whole day, and a station started late in such a day on the paced
// simulator: its first poll, the day read back, its memory, and the plant's
// day curve served over HTTP.
#include "ChildProcess.h"
#include "InverterFactory.h"
#include "LongDayData.h"
#include "TempDirectory.h"
#include "comm/CommShared.h"
#include "history/StationHistory.h"
#include "model/InverterGroup.h"
#include "model/SingleRuntimeData.h"
#include "platform/DataDirectory.h"
#include "store/HistoryFileName.h"
#include "store/PlantDayCurves.h"
#include "web/DayCurves.h"
#include "web/WebServer.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <httplib.h>
#include <netinet/in.h>
#include <numbers>
#include <set>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace {
using SteadyClock = std::chrono::steady_clock;
using Seconds = std::chrono::duration<double>;
using namespace std::chrono_literals;

constexpr int BUSES = LongDay::BUSES;
constexpr int PER_BUS = LongDay::INVERTERS_PER_BUS;
constexpr int REQUESTS = 100;

double ResidentMegabytes(const std::string& status = "/proc/self/status") {
    std::ifstream file(status);
    std::string line;
    while (std::getline(file, line)) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::atof(line.c_str() + 6) / 1024;
        }
    }
    return 0;
}

double ResidentMegabytesOf(pid_t pid) {
    return ResidentMegabytes("/proc/" + std::to_string(pid) + "/status");
}

std::filesystem::path ProgramBeside(const char* name) {
    std::error_code ignored;
    return std::filesystem::read_symlink("/proc/self/exe", ignored).parent_path() / name;
}

// The time of the first point of a day curve's power; 0 when it has none.
std::time_t FirstPointTime(const std::string& body) {
    const std::size_t at = body.find("\"power\":[[");
    return at == std::string::npos ? 0 : std::atoll(body.c_str() + at + 10);
}

struct Timing {
    double meanMs = 0;
    double maxMs = 0;
};

// After a few to warm the server's threads up.
Timing TimeRequests(httplib::Client& client, const std::string& path) {
    for (int i = 0; i < 5; ++i) {
        benchmark::DoNotOptimize(client.Get(path));
    }
    Timing timing;
    for (int i = 0; i < REQUESTS; ++i) {
        const auto start = SteadyClock::now();
        auto result = client.Get(path);
        const double ms = Seconds(SteadyClock::now() - start).count() * 1000;
        benchmark::DoNotOptimize(result ? result->body.size() : 0);
        timing.meanMs += ms / REQUESTS;
        timing.maxMs = std::max(timing.maxMs, ms);
    }
    return timing;
}

// Milliseconds per call of what builds a day curve, the locks it takes
// included: the work a request that finds no kept answer does.
template <class Build>
double BuildMs(Build&& build) {
    const auto start = SteadyClock::now();
    for (int i = 0; i < REQUESTS; ++i) {
        benchmark::DoNotOptimize(build());
    }
    return Seconds(SteadyClock::now() - start).count() * 1000 / REQUESTS;
}

// Resident size while 20 live streams each take a few updates, and once
// they closed.
std::pair<double, double> ResidentWithStreams(int port) {
    constexpr int STREAMS = 20;
    std::atomic<bool> stop{false};
    std::vector<std::thread> clients;
    for (int i = 0; i < STREAMS; ++i) {
        clients.emplace_back([&] {
            httplib::Client client("127.0.0.1", port);
            client.Get("/api/live", [&](const char*, std::size_t) { return !stop.load(); });
        });
    }
    std::this_thread::sleep_for(5s);
    const double streaming = ResidentMegabytes();
    stop = true;
    for (std::thread& client : clients) {
        client.join();
    }
    std::this_thread::sleep_for(2s);
    return {streaming, ResidentMegabytes()};
}

// A clear day of about 2.8 kW with a little noise, each inverter apart.
std::uint16_t DeciWatts(int second, int inverter) {
    const double daylight = (second - 6 * 3600) / (14.0 * 3600);
    if (daylight <= 0 || daylight >= 1) {
        return 0;
    }
    const double noise = ((second * 7919 + inverter * 104729) % 200 - 100) * 0.5;
    return static_cast<std::uint16_t>(
        std::max(0.0, 28000 * std::sin(std::numbers::pi * daylight) + noise));
}

std::vector<std::unique_ptr<CInverterGroup>> Plant(std::time_t now) {
    const sim::InverterFactory factory;
    std::vector<std::unique_ptr<CInverterGroup>> groups;
    for (int port = 1; port <= BUSES; ++port) {
        auto group = std::make_unique<CInverterGroup>();
        group->m_nComPort = port;
        group->m_bPortOpen = 1;
        for (int position = 1; position <= PER_BUS; ++position) {
            auto inverter = group->CreateInverter(static_cast<std::uint8_t>(position));
            inverter->m_strSerialNo = factory.SerialFor(port, position);
            inverter->m_bOnline = 1;
            inverter->m_nErrorState = 1;
            auto data = std::make_unique<SingleRuntimeData>();
            data->m_tSample = now;
            inverter->m_pRuntimeData = std::move(data);
            group->AppendInverter(std::move(inverter));
        }
        groups.push_back(std::move(group));
    }
    return groups;
}

GroupVisitor Visitor(const std::vector<std::unique_ptr<CInverterGroup>>& groups) {
    return [&groups](const auto& visit) {
        for (const auto& group : groups) {
            visit(*group);
        }
    };
}

// 19 x 20 inverters polled every second of a day in virtual time, each
// sample going where a poll puts it: the inverter's day curve and the
// plant's. Resident size is taken every virtual hour; then the day curves
// are served 100 times each (kept a minute by the server), 20 live streams
// run for a while, and the curves are built 100 times as a request that
// finds nothing kept builds them.
void BM_DayInVirtualTime(benchmark::State& state) {
    g_nInterval = 1;
    std::tm calendar{};
    calendar.tm_year = 126;
    calendar.tm_mon = 5;
    calendar.tm_mday = 21;
    calendar.tm_isdst = -1;
    const std::time_t midnight = std::mktime(&calendar);
    for (auto _ : state) {
        const double before = ResidentMegabytes();
        auto groups = Plant(midnight);
        PlantDayCurves plant;
        std::vector<double> hourly;
        for (int second = 0; second < 86'400; ++second) {
            int index = 0;
            for (const auto& group : groups) {
                for (const auto& inverter : group->m_inverters) {
                    auto& data = static_cast<SingleRuntimeData&>(*inverter->m_pRuntimeData);
                    data.m_tSample = midnight + second;
                    data.m_nPac = DeciWatts(second, index++);
                    data.m_nEToday = static_cast<std::uint16_t>(second / 600);
                    plant.OnSample(*inverter);
                    auto lock = group->Lock();
                    inverter->m_powerGraph.AddSample({data.m_tSample, data.GetOutputPower()});
                }
            }
            if ((second + 1) % 3600 == 0) {
                hourly.push_back(ResidentMegabytes() - before);
            }
        }
        for (std::size_t hour = 0; hour < hourly.size(); ++hour) {
            state.counters["rss_h" + std::to_string(hour + 1) + "_mb"] = hourly[hour];
            std::printf("hour %2zu: %6.1f MB\n", hour + 1, hourly[hour]);
        }
        WebServerConfig config;
        config.port = 0;
        config.plantCurves = &plant;
        WebServer server(Visitor(groups), config);
        std::string problem;
        if (!server.Start(&problem)) {
            state.SkipWithError(problem.c_str());
            return;
        }
        httplib::Client client("127.0.0.1", server.Port());
        client.set_keep_alive(true);
        // Today's curves are today's by the clock, which this day is not:
        // the day served is the series as it stands.
        const double servedBefore = ResidentMegabytes();
        const Timing plantDay = TimeRequests(client, "/api/plant/day");
        const Timing inverterDay = TimeRequests(
            client, "/api/inverters/" + sim::InverterFactory().SerialFor(7, 7) + "/day");
        const double served = ResidentMegabytes();
        const auto [streaming, streamsClosed] = ResidentWithStreams(server.Port());
        const std::string serial = sim::InverterFactory().SerialFor(7, 7);
        state.counters["plant_day_build_ms"] = BuildMs([&] { return PlantPowerToday(plant); });
        state.counters["inverter_day_build_ms"] =
            BuildMs([&] { return InverterPowerToday(Visitor(groups), serial); });
        state.counters["rss_day_end_mb"] = hourly.back();
        state.counters["rss_growth_100_requests_mb"] = served - servedBefore;
        state.counters["rss_20_streams_mb"] = streaming - before;
        state.counters["rss_streams_closed_mb"] = streamsClosed - before;
        state.counters["plant_day_ms_mean"] = plantDay.meanMs;
        state.counters["plant_day_ms_max"] = plantDay.maxMs;
        state.counters["inverter_day_ms_mean"] = inverterDay.meanMs;
    }
    g_nInterval = 2;
}

int FreePort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    socklen_t length = sizeof address;
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(fd);
    return ntohs(address.sin_port);
}

std::string Settings(int webPort) {
    std::string text = "[Interval]\r\nInterval=1\r\n[Bus]\r\nFastReplies=1\r\n";
    for (int port = 1; port <= BUSES; ++port) {
        text += "[Com" + std::to_string(port) + "]\r\nEnable=1\r\n";
    }
    return text + "[Web]\r\nEnable=1\r\nListen=127.0.0.1\r\nPort=" + std::to_string(webPort) +
           "\r\n";
}

// What the station told and served while it started on the long day.
struct StartWatch {
    SteadyClock::time_point started;
    double firstPollS = 0;
    double allOnlineS = 0;
    double refillDoneS = 0;
    double rssAtRefillMb = 0;
    double rssPeakMb = 0;
    int online = 0;
};

// Follows the station's events and its day curves until every inverter's
// curve and the plant's reach back to midnight.
bool WatchStart(ChildProcess& station, std::time_t midnight, int webPort, StartWatch& watch) {
    std::set<std::string> waiting;
    const sim::InverterFactory factory;
    for (int port = 1; port <= BUSES; ++port) {
        for (int position = 1; position <= PER_BUS; ++position) {
            waiting.insert(factory.SerialFor(port, position));
        }
    }
    httplib::Client client("127.0.0.1", webPort);
    bool plantBack = false;
    auto nextCheck = SteadyClock::now();
    while (SteadyClock::now() - watch.started < 180s) {
        while (const auto line = station.ReadLine(20ms)) {
            if (line->find(" online") != std::string::npos) {
                const double at = Seconds(SteadyClock::now() - watch.started).count();
                watch.firstPollS = watch.online++ == 0 ? at : watch.firstPollS;
                watch.allOnlineS = watch.online == BUSES * PER_BUS ? at : watch.allOnlineS;
            }
        }
        watch.rssPeakMb = std::max(watch.rssPeakMb, ResidentMegabytesOf(station.Pid()));
        if (SteadyClock::now() < nextCheck) {
            continue;
        }
        nextCheck = SteadyClock::now() + 500ms;
        if (!plantBack) {
            const auto plant = client.Get("/api/plant/day");
            plantBack = plant && FirstPointTime(plant->body) != 0 &&
                        FirstPointTime(plant->body) < midnight + 60;
        }
        for (auto serial = waiting.begin(); serial != waiting.end();) {
            const auto day = client.Get("/api/inverters/" + *serial + "/day");
            const bool back = day && day->status == 200 && FirstPointTime(day->body) != 0 &&
                              FirstPointTime(day->body) < midnight + 60;
            serial = back ? waiting.erase(serial) : std::next(serial);
        }
        if (plantBack && waiting.empty()) {
            watch.refillDoneS = Seconds(SteadyClock::now() - watch.started).count();
            watch.rssAtRefillMb = ResidentMegabytesOf(station.Pid());
            return true;
        }
    }
    return false;
}

// The station started on the long day against the simulator in its own
// process, wire time paced, fast replies: seconds to the first decoded poll,
// to every inverter online, to every day curve served back to midnight (the
// server keeps each answer a minute, so this may come up to a minute after
// the refill); resident size then; /api/plant/day 100 times and the resident
// size around it.
void BM_StartOnALongDay(benchmark::State& state) {
    LongDay day;
    std::string error;
    if (!PrepareLongDay(day, error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    for (auto _ : state) {
        TempDirectory places;
        const std::string ports = places.Path() + "/ports";
        std::filesystem::create_directories(ports);
        std::vector<std::string> simulator{ProgramBeside("heliowatch-sim").string(), "--port-dir",
                                           ports};
        for (int port = 1; port <= BUSES; ++port) {
            simulator.push_back("--bus");
            simulator.push_back("COM" + std::to_string(port) + ":single*" +
                                std::to_string(PER_BUS));
        }
        ChildProcess sim(simulator);
        if (!sim.WaitForLine("ready", 20s)) {
            state.SkipWithError("the simulator did not start");
            return;
        }
        const int webPort = FreePort();
        const std::string settings = places.Path() + "/Heliowatch.ini";
        std::ofstream(settings) << Settings(webPort);
        StartWatch watch;
        watch.started = SteadyClock::now();
        ChildProcess station({ProgramBeside("heliowatch").string(), "--headless", "--config",
                              settings, "--port-dir", ports, "--data-dir", day.dataDirectory});
        if (!WatchStart(station, day.midnight, webPort, watch)) {
            state.SkipWithError(("the day was not read back: " + station.ErrorOutput()).c_str());
            return;
        }
        httplib::Client client("127.0.0.1", webPort);
        client.set_keep_alive(true);
        const double rssBefore = ResidentMegabytesOf(station.Pid());
        const Timing plantDay = TimeRequests(client, "/api/plant/day");
        const double rssAfter = ResidentMegabytesOf(station.Pid());
        station.Signal(SIGTERM);
        station.Wait(20s);
        sim.Signal(SIGTERM);
        state.counters["first_poll_s"] = watch.firstPollS;
        state.counters["all_online_s"] = watch.allOnlineS;
        state.counters["curves_served_whole_s"] = watch.refillDoneS;
        state.counters["rss_after_refill_mb"] = watch.rssAtRefillMb;
        state.counters["rss_peak_mb"] = watch.rssPeakMb;
        state.counters["plant_day_ms_mean"] = plantDay.meanMs;
        state.counters["plant_day_ms_max"] = plantDay.maxMs;
        state.counters["rss_before_100_requests_mb"] = rssBefore;
        state.counters["rss_after_100_requests_mb"] = rssAfter;
        std::printf("station log:\n%s\n", station.ErrorOutput().c_str());
    }
}

// The refill on its own, in this process: the history of the long day read
// back into the plant's curves and into every inverter's at once, as when
// the whole plant reports at the same moment; resident size once each holds
// its past.
void BM_RefillALongDay(benchmark::State& state) {
    LongDay day;
    std::string error;
    if (!PrepareLongDay(day, error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    SetDataDirectory(day.dataDirectory);
    const sim::InverterFactory factory;
    for (auto _ : state) {
        const double before = ResidentMegabytes();
        const auto started = SteadyClock::now();
        StationHistory history;
        PlantDayCurves plant;
        history.Start(plant);
        std::vector<std::string> files;
        for (int port = 1; port <= BUSES; ++port) {
            for (int position = 1; position <= PER_BUS; ++position) {
                files.push_back(HistoryFileName(factory.SerialFor(port, position)));
                history.Refill().Ask(files.back(), std::time(nullptr));
            }
        }
        std::vector<CDaySeries> pasts;
        while (!files.empty() && SteadyClock::now() - started < 120s) {
            std::erase_if(files, [&](const std::string& file) {
                auto past = history.Refill().Take(file);
                if (past) {
                    pasts.push_back(std::move(*past));
                }
                return past.has_value();
            });
            std::this_thread::sleep_for(10ms);
        }
        const double doneS = Seconds(SteadyClock::now() - started).count();
        bool plantBack = false;
        plant.Read([&](const CDaySeries& power, const CDaySeries&) {
            plantBack = power.FirstTime() < day.midnight + 60;
        });
        state.counters["refill_done_s"] = doneS;
        state.counters["rss_with_pasts_mb"] = ResidentMegabytes() - before;
        state.counters["inverters_not_back"] = static_cast<double>(files.size());
        state.counters["plant_back"] = plantBack ? 1 : 0;
        history.Stop();
    }
}
} // namespace

BENCHMARK(BM_DayInVirtualTime)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(BM_StartOnALongDay)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(BM_RefillALongDay)->Iterations(1)->Unit(benchmark::kSecond);

BENCHMARK_MAIN();
