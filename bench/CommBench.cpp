#include "CommBenchPlant.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <functional>
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
constexpr double REQUEST_WRITE_S = 11 * 10 / 9600.0;

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

// One iteration is one polling cycle of 20 inverters on one bus; arg 0 says
// whether every sample also goes through fault tracking and the history file.
void BM_PollCycle(benchmark::State& state) {
    constexpr int INVERTERS = 20;
    PolledPlant plant(1, INVERTERS, state.range(0) != 0);
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
    state.counters["cycle_ms"] = seconds / measured * 1000;
    state.counters["floor_ms"] = floor * 1000;
    state.counters["ratio"] = seconds / measured / floor;
    state.counters["ratio_to_reads"] = seconds / measured / (INVERTERS * READ_DEADLINE_S);
    state.counters["period_ms"] =
        Seconds(cycles[next - 1].start - cycles[1].start).count() / (measured - 1) * 1000;
    state.counters["cpu_us_per_poll"] = cpu / measured;
}

// 19 buses of 20 inverters polled at a 1 s interval for arg 0 seconds, with
// fault tracking and history files; the simulator runs in its own process.
void BM_StationLoad(benchmark::State& state) {
    constexpr int BUSES = 19;
    constexpr int INVERTERS = 20;
    PolledPlant plant(BUSES, INVERTERS, true);
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
    SteadyClock::time_point start;
    for (auto _ : state) {
        const double cpuBefore = ProcessCpuSeconds();
        const std::size_t pollsBefore = plant.StampCount();
        start = SteadyClock::now();
        std::this_thread::sleep_for(std::chrono::seconds(state.range(0)));
        wall = Seconds(SteadyClock::now() - start).count();
        cpu = ProcessCpuSeconds() - cpuBefore;
        polls = plant.StampCount() - pollsBefore;
        state.SetIterationTime(wall);
    }
    const double threadCpu = ThreadCpuUsPerPoll(plant.Stamps(), start);
    plant.Stop();
    state.counters["polls"] = static_cast<double>(polls);
    state.counters["polls_per_s"] = static_cast<double>(polls) / wall;
    state.counters["cpu_share_pct"] = cpu / wall * 100;
    state.counters["cpu_us_per_poll"] = polls > 0 ? cpu / static_cast<double>(polls) * 1e6 : 0.0;
    state.counters["thread_cpu_us_per_poll"] = threadCpu;
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
        ->ArgName("history")
        ->Arg(0)
        ->Arg(1)
        ->UseManualTime()
        ->Iterations(3)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_StationLoad", BM_StationLoad)
        ->ArgName("seconds")
        ->Arg(loadSeconds)
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
