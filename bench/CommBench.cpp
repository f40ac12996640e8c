#include "CommBenchPlant.h"
#include "InverterProfile.h"
#include "comm/CommShared.h"
#include "comm/Protocol.h"
#include "store/Freshness.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <sys/resource.h>
#include <thread>
#include <vector>

namespace {
using SteadyClock = std::chrono::steady_clock;
using Seconds = std::chrono::duration<double>;

// Every transaction waits out the 369 ms read deadline; the request is 11
// bytes at 9600 bit/s, 10 bits a byte, on a real line.
constexpr double READ_DEADLINE_S = 0.369;
constexpr double CHARACTER_S = 10 / 9600.0;
constexpr double REQUEST_WRITE_S = FRAME_OVERHEAD * CHARACTER_S;
// heliowatch-sim's default inverter turnaround.
constexpr double TURNAROUND_S = 0.005;

// What the wire itself needs for one poll: the request, the turnaround and
// the runtime-data reply, one value of two bytes per field.
double WirePollSeconds(sim::InverterKind kind) {
    const auto replyBytes =
        static_cast<double>(FRAME_OVERHEAD + 2 * sim::DefaultRuntimeFields(kind).size());
    return REQUEST_WRITE_S + TURNAROUND_S + replyBytes * CHARACTER_S;
}

sim::InverterKind KindOf(std::int64_t three) {
    return three != 0 ? sim::InverterKind::Three : sim::InverterKind::Single;
}

struct Cycle {
    SteadyClock::time_point start;
    double seconds = 0;      // first poll's start to the last poll's end
    double cpuUsPerPoll = 0; // of the polling thread
};

// The group's polls that ran as one whole cycle, addresses 1 to n in order.
// A cycle starts one poll before its first decode: the mean poll time is
// added to the span from the first decode to the last.
std::vector<Cycle> CompleteCycles(const std::vector<PollStamp>& all, const CInverterGroup& group,
                                  int inverters) {
    std::vector<PollStamp> stamps;
    for (const PollStamp& stamp : all) {
        if (stamp.group == &group) {
            stamps.push_back(stamp);
        }
    }
    std::vector<Cycle> cycles;
    const auto n = static_cast<std::size_t>(inverters);
    for (std::size_t i = 0; i + n <= stamps.size(); ++i) {
        bool whole = true;
        for (std::size_t k = 0; whole && k < n; ++k) {
            whole = stamps[i + k].address == k + 1;
        }
        if (!whole) {
            continue;
        }
        const PollStamp& first = stamps[i];
        const PollStamp& last = stamps[i + n - 1];
        const double span = Seconds(last.at - first.at).count();
        const double poll = span / static_cast<double>(n - 1);
        cycles.push_back(
            {first.at - std::chrono::duration_cast<SteadyClock::duration>(Seconds(poll)),
             span + poll,
             static_cast<double>(last.threadCpuUs - first.threadCpuUs) /
                 static_cast<double>(n - 1)});
    }
    return cycles;
}

bool PollUntil(const std::function<bool()>& condition, std::chrono::seconds timeout) {
    const auto deadline = SteadyClock::now() + timeout;
    while (!condition()) {
        if (SteadyClock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return true;
}

double ProcessCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Thread CPU per poll from consecutive stamps of each group after a moment.
double ThreadCpuUsPerPoll(const std::vector<PollStamp>& stamps, SteadyClock::time_point after) {
    std::int64_t cpu = 0;
    std::int64_t polls = 0;
    std::vector<const PollStamp*> previous;
    for (const PollStamp& stamp : stamps) {
        if (stamp.at < after) {
            continue;
        }
        const PollStamp* before = nullptr;
        for (const PollStamp*& seen : previous) {
            if (seen->group == stamp.group) {
                before = seen;
                seen = &stamp;
            }
        }
        if (before == nullptr) {
            previous.push_back(&stamp);
            continue;
        }
        cpu += stamp.threadCpuUs - before->threadCpuUs;
        ++polls;
    }
    return polls > 0 ? static_cast<double>(cpu) / static_cast<double>(polls) : 0.0;
}

// One iteration is one polling cycle of 20 inverters on one bus. Args: every
// sample also goes through fault tracking and the history file; fast
// replies; three-phase inverters.
void BM_PollCycle(benchmark::State& state) {
    constexpr int INVERTERS = 20;
    const sim::InverterKind kind = KindOf(state.range(2));
    PolledPlant plant(1, INVERTERS, state.range(0) != 0, {kind, state.range(1) != 0, true});
    std::string error;
    if (!plant.Start(error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    std::size_t next = 1; // the first cycle warms up
    std::vector<Cycle> cycles;
    for (auto _ : state) {
        if (!PollUntil(
                [&] {
                    cycles = CompleteCycles(plant.Stamps(), plant.Group(0), INVERTERS);
                    return cycles.size() > next;
                },
                std::chrono::seconds(30))) {
            state.SkipWithError("no complete polling cycle");
            break;
        }
        state.SetIterationTime(cycles[next++].seconds);
    }
    plant.Stop();
    if (next < 2) {
        return;
    }
    double seconds = 0;
    double cpu = 0;
    for (std::size_t i = 1; i < next; ++i) {
        seconds += cycles[i].seconds;
        cpu += cycles[i].cpuUsPerPoll;
    }
    const double measured = static_cast<double>(next - 1);
    const double floor = INVERTERS * (READ_DEADLINE_S + REQUEST_WRITE_S);
    const double wire = INVERTERS * WirePollSeconds(kind);
    state.counters["cycle_ms"] = seconds / measured * 1000;
    state.counters["floor_ms"] = floor * 1000;
    state.counters["ratio"] = seconds / measured / floor;
    state.counters["wire_ms"] = wire * 1000;
    state.counters["ratio_to_wire"] = seconds / measured / wire;
    state.counters["ratio_to_reads"] = seconds / measured / (INVERTERS * READ_DEADLINE_S);
    state.counters["period_ms"] =
        Seconds(cycles[next - 1].start - cycles[1].start).count() / (measured - 1) * 1000;
    state.counters["cpu_us_per_poll"] = cpu / measured;
}

// Resident set size of this process, from /proc.
double ResidentMegabytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::atof(line.c_str() + 6) / 1024;
        }
    }
    return 0;
}

struct SampleGaps {
    double shortest = 0;
    double mean = 0;
    double p99 = 0;
    double longest = 0;
    double overTwoSecondsPct = 0;
};

// Time between consecutive samples of the same inverter, after a moment.
SampleGaps GapsBetweenSamples(const std::vector<PollStamp>& stamps, SteadyClock::time_point after) {
    std::map<std::pair<const CInverterGroup*, int>, SteadyClock::time_point> last;
    std::vector<double> gaps;
    for (const PollStamp& stamp : stamps) {
        if (stamp.at < after) {
            continue;
        }
        const auto [seen, first] = last.try_emplace({stamp.group, stamp.address}, stamp.at);
        if (!first) {
            gaps.push_back(Seconds(stamp.at - seen->second).count());
            seen->second = stamp.at;
        }
    }
    if (gaps.empty()) {
        return {};
    }
    std::sort(gaps.begin(), gaps.end());
    const auto count = static_cast<double>(gaps.size());
    const auto over = std::count_if(gaps.begin(), gaps.end(), [](double gap) { return gap > 2.0; });
    double sum = 0;
    for (const double gap : gaps) {
        sum += gap;
    }
    return {gaps.front(), sum / count, gaps[static_cast<std::size_t>(count * 0.99)], gaps.back(),
            static_cast<double>(over) / count * 100};
}

// 19 buses of 20 inverters polled at a 1 s interval for arg 0 seconds, with
// fault tracking and history files; the simulator runs in its own process.
// Arg 1: fast replies.
void BM_StationLoad(benchmark::State& state) {
    constexpr int BUSES = 19;
    constexpr int INVERTERS = 20;
    PolledPlant plant(BUSES, INVERTERS, true,
                      {sim::InverterKind::Single, state.range(1) != 0, true});
    std::string error;
    if (!plant.Start(error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    const bool warm = PollUntil(
        [&] {
            const auto stamps = plant.Stamps();
            for (int bus = 0; bus < BUSES; ++bus) {
                if (CompleteCycles(stamps, plant.Group(static_cast<std::size_t>(bus)), INVERTERS)
                        .empty()) {
                    return false;
                }
            }
            return true;
        },
        std::chrono::seconds(60));
    if (!warm) {
        state.SkipWithError("not every bus completed a polling cycle");
        return;
    }
    double cpu = 0;
    double wall = 0;
    std::size_t polls = 0;
    double rssBefore = 0;
    double rssAfter = 0;
    std::size_t seriesBefore = 0;
    std::size_t seriesAfter = 0;
    SteadyClock::time_point start;
    for (auto _ : state) {
        const double cpuBefore = ProcessCpuSeconds();
        const std::size_t pollsBefore = plant.StampCount();
        rssBefore = ResidentMegabytes() - plant.StampMegabytes();
        seriesBefore = plant.SeriesSamples();
        start = SteadyClock::now();
        std::this_thread::sleep_for(std::chrono::seconds(state.range(0)));
        wall = Seconds(SteadyClock::now() - start).count();
        cpu = ProcessCpuSeconds() - cpuBefore;
        polls = plant.StampCount() - pollsBefore;
        rssAfter = ResidentMegabytes() - plant.StampMegabytes();
        seriesAfter = plant.SeriesSamples();
        state.SetIterationTime(wall);
    }
    const auto stamps = plant.Stamps();
    const double threadCpu = ThreadCpuUsPerPoll(stamps, start);
    const SampleGaps gaps = GapsBetweenSamples(stamps, start);
    plant.Stop();
    state.counters["sample_gap_min_s"] = gaps.shortest;
    state.counters["sample_gap_mean_s"] = gaps.mean;
    state.counters["sample_gap_p99_s"] = gaps.p99;
    state.counters["sample_gap_max_s"] = gaps.longest;
    state.counters["sample_gaps_over_2s_pct"] = gaps.overTwoSecondsPct;
    // The bench's own record of the polls is left out.
    state.counters["rss_mb"] = rssAfter;
    state.counters["rss_growth_mb_per_h"] = (rssAfter - rssBefore) / wall * 3600;
    state.counters["day_series_mb_per_h"] = static_cast<double>(seriesAfter - seriesBefore) *
                                            sizeof(CGraphSample) / wall * 3600 / (1024 * 1024);
    state.counters["polls"] = static_cast<double>(polls);
    state.counters["polls_per_s"] = static_cast<double>(polls) / wall;
    state.counters["cpu_share_pct"] = cpu / wall * 100;
    state.counters["cpu_us_per_poll"] = polls > 0 ? cpu / static_cast<double>(polls) * 1e6 : 0.0;
    state.counters["thread_cpu_us_per_poll"] = threadCpu;
}
// Whether inverters distinct inverters have been sampled, and when the last
// of them first was.
bool AllSampledAt(const std::vector<PollStamp>& stamps, std::size_t inverters,
                  SteadyClock::time_point& at) {
    std::map<std::pair<const CInverterGroup*, int>, bool> seen;
    for (const PollStamp& stamp : stamps) {
        if (seen.try_emplace({stamp.group, stamp.address}, true).second &&
            seen.size() == inverters) {
            at = stamp.at;
            return true;
        }
    }
    return false;
}

// Inverters of the group whose reading the views would show as stale now.
int StaleReadings(const CInverterGroup& group) {
    auto lock = group.Lock();
    int stale = 0;
    for (const auto& inverter : group.m_inverters) {
        const bool sampled =
            inverter->m_pRuntimeData && inverter->m_pRuntimeData->GetSampleTime() != 0;
        stale +=
            sampled && FreshnessOf(*inverter, std::time(nullptr), g_nInterval) == Freshness::Stale;
    }
    return stale;
}

// Start of the communication thread to the first decoded poll of one
// unregistered inverter, with the fast replies of arg 0.
void BM_StartToFirstPoll(benchmark::State& state) {
    for (auto _ : state) {
        PolledPlant plant(1, 1, false, {sim::InverterKind::Single, state.range(0) != 0, false});
        std::string error;
        if (!plant.Start(error)) {
            state.SkipWithError(error.c_str());
            break;
        }
        if (!PollUntil([&] { return plant.StampCount() > 0; }, std::chrono::seconds(10))) {
            state.SkipWithError("no poll");
            break;
        }
        state.SetIterationTime(Seconds(plant.Stamps().front().at - plant.Started()).count());
    }
}

// Start of the communication thread until 20 unregistered inverters on one
// bus, whose first answers collide, are registered and described, until the
// first poll, and until each has been polled; how often a registered
// inverter's reading looked stale meanwhile, checked every 0.1 s. Args:
// fast replies; the sampling interval, whose due cycles take turns with the
// registrations; three-phase inverters.
void BM_RegisterFullBus(benchmark::State& state) {
    constexpr int INVERTERS = 20;
    double sampled = 0;
    double firstPoll = 0;
    int staleSeen = 0;
    for (auto _ : state) {
        PolledPlant plant(
            1, INVERTERS, false,
            {state.range(2) != 0 ? sim::InverterKind::Three : sim::InverterKind::Single,
             state.range(0) != 0, false, static_cast<int>(state.range(1))});
        std::string error;
        if (!plant.Start(error)) {
            state.SkipWithError(error.c_str());
            break;
        }
        const auto registered = [&] {
            staleSeen += StaleReadings(plant.Group(0));
            return plant.DescribedRecords() == INVERTERS;
        };
        if (!PollUntil(registered, std::chrono::seconds(300))) {
            state.SkipWithError("not every inverter registered");
            break;
        }
        state.SetIterationTime(Seconds(SteadyClock::now() - plant.Started()).count());
        SteadyClock::time_point allSampled;
        PollUntil([&] { return AllSampledAt(plant.Stamps(), INVERTERS, allSampled); },
                  std::chrono::seconds(30));
        sampled = Seconds(allSampled - plant.Started()).count();
        firstPoll = Seconds(plant.Stamps().front().at - plant.Started()).count();
    }
    state.counters["all_sampled_s"] = sampled;
    state.counters["first_poll_s"] = firstPoll;
    state.counters["stale_seen"] = staleSeen;
}
} // namespace

// --load-seconds=N sets the length of the load run (default 30; 300 for the
// five-minute figure).
int main(int argc, char** argv) {
    int loadSeconds = 30;
    std::vector<char*> kept;
    for (int i = 0; i < argc; ++i) {
        const std::string_view arg(argv[i]);
        if (arg.starts_with("--load-seconds=")) {
            loadSeconds = std::max(1, std::atoi(argv[i] + arg.find('=') + 1));
        } else {
            kept.push_back(argv[i]);
        }
    }
    benchmark::RegisterBenchmark("BM_PollCycle", BM_PollCycle)
        ->ArgNames({"history", "fast", "three"})
        ->Args({0, 0, 0})
        ->Args({1, 0, 0})
        ->Args({0, 1, 0})
        ->Args({1, 1, 0})
        ->Args({1, 1, 1})
        ->UseManualTime()
        ->Iterations(3)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_StartToFirstPoll", BM_StartToFirstPoll)
        ->ArgName("fast")
        ->Arg(0)
        ->Arg(1)
        ->UseManualTime()
        ->Iterations(3)
        ->Unit(benchmark::kMillisecond);
    // Fast replies only: without them, attempts 10 s apart take about four minutes.
    benchmark::RegisterBenchmark("BM_RegisterFullBus", BM_RegisterFullBus)
        ->ArgNames({"fast", "interval", "three"})
        ->Args({1, 1, 0})
        ->Args({1, 2, 0})
        ->Args({1, 30, 0})
        ->Args({1, 1, 1})
        ->UseManualTime()
        ->Iterations(1)
        ->Unit(benchmark::kSecond);
    benchmark::RegisterBenchmark("BM_StationLoad", BM_StationLoad)
        ->ArgNames({"seconds", "fast"})
        ->Args({loadSeconds, 0})
        ->Args({loadSeconds, 1})
        ->UseManualTime()
        ->Iterations(1)
        ->Unit(benchmark::kSecond);
    int keptCount = static_cast<int>(kept.size());
    benchmark::Initialize(&keptCount, kept.data());
    if (benchmark::ReportUnrecognizedArguments(keptCount, kept.data())) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
