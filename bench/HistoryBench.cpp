// The history summary: rebuild throughput from history files, the browser's
// queries on a large plant, and the writer thread's share of a core at 19
// buses of 20 inverters polled every second.
#include "HistoryBenchData.h"
#include "history/PeriodFigures.h"
#include "history/SummaryKeeper.h"
#include "history/SummaryRebuild.h"
#include "history/SummarySchema.h"
#include "model/SingleRuntimeData.h"
#include "platform/DataDirectory.h"
#include "store/HistoryFile.h"
#include "store/HistoryLine.h"
#include "store/HistoryLineParser.h"
#include "store/LocalCalendar.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

std::string Line(std::time_t time, int second, int watts) {
    SingleRuntimeData data;
    data.m_tSample = time;
    data.m_nTemp = static_cast<std::int16_t>(200 + second % 200);
    data.m_nVpv = 3600;
    data.m_nVac = 2300;
    data.m_nIac = 43;
    data.m_nFac = 5001;
    data.m_nPac = static_cast<std::uint16_t>(watts * 10);
    data.m_nZac = 512;
    data.m_nEToday = static_cast<std::uint16_t>(second / 20);
    data.m_dwETotal = 123456 + static_cast<std::uint32_t>(second / 200);
    data.m_dwHTotal = 4321;
    return SingleHistoryLine(data);
}

// Days of daylight lines every `every` seconds, as the station writes them.
void WriteHistory(const std::string& histLog, int inverters, int days, int every) {
    LocalCalendar calendar;
    for (int inverter = 0; inverter < inverters; ++inverter) {
        std::string text(SINGLE_HISTORY_HEADER);
        for (int day = 0; day < days; ++day) {
            const std::time_t start = calendar.Bounds(CivilDays::AddDays(FIRST_DAY, day)).start;
            for (int second = 6 * 3600; second < 20 * 3600; second += every) {
                const int watts =
                    static_cast<int>(3000 * std::sin((second - 21600) * M_PI / 50400));
                text += Line(start + second, second, watts);
            }
        }
        std::ofstream(histLog + "/" + SerialOf(inverter) + ".csv", std::ios::binary) << text;
    }
}

std::int64_t CountLines(const std::string& histLog) {
    std::int64_t lines = 0;
    for (const auto& entry : std::filesystem::directory_iterator(histLog)) {
        std::ifstream file(entry.path(), std::ios::binary);
        lines += std::count(std::istreambuf_iterator<char>(file), {}, '\n') - 1;
    }
    return lines;
}

void Rebuild(benchmark::State& state) {
    const std::string directory = FreshDataDirectory("rebuild-bench");
    WriteHistory(directory + "/HistLog", 20, 30, 20); // 20 inverters, 30 days at 20 s
    const std::int64_t lines = CountLines(directory + "/HistLog");
    for (auto _ : state) {
        RebuildReport report;
        std::string problem;
        if (!RebuildSummary({}, report, &problem)) {
            state.SkipWithError(problem.c_str());
        }
    }
    state.counters["lines"] = static_cast<double>(lines);
    state.counters["lines/s"] = benchmark::Counter(static_cast<double>(lines * state.iterations()),
                                                   benchmark::Counter::kIsRate);
    std::filesystem::remove_all(directory);
}
BENCHMARK(Rebuild)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void ParseLine(benchmark::State& state) {
    const std::string line = Line(1'800'000'000, 43200, 2500);
    for (auto _ : state) {
        benchmark::DoNotOptimize(ParseHistoryLine(line));
    }
    state.counters["lines/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(ParseLine);

void View(benchmark::State& state, int inverters, int withBuckets, PeriodKind kind) {
    const std::string directory = FreshDataDirectory("browser-bench");
    SummaryReader reader;
    if (!FillSummary(inverters, withBuckets) || !reader.Open(SummaryPath(), nullptr)) {
        state.SkipWithError("no summary");
    }
    for (auto _ : state) {
        SummaryReader fresh;
        benchmark::DoNotOptimize(fresh.Open(SummaryPath(), nullptr));
        benchmark::DoNotOptimize(fresh.Sources());
        const HistoryPeriod period{kind, 20260615};
        benchmark::DoNotOptimize(LoadPeriodFigures(fresh, period, SummaryReader::PLANT));
        benchmark::DoNotOptimize(
            fresh.EnergyBySource(period.FirstDay(), period.LastDay(), period.BarDivisor()));
        benchmark::DoNotOptimize(LoadPeriodFigures(fresh, period, 1));
    }
    std::filesystem::remove_all(directory);
}

void MonthOf380(benchmark::State& state) {
    View(state, 380, 0, PeriodKind::MONTH);
}
BENCHMARK(MonthOf380)->Unit(benchmark::kMillisecond)->UseRealTime();

void YearOf20(benchmark::State& state) {
    View(state, 20, 20, PeriodKind::YEAR);
}
BENCHMARK(YearOf20)->Unit(benchmark::kMillisecond)->UseRealTime();

// 380 history files, each growing by a line a second; the writer thread's
// time per batch, against the seconds the batch covers.
void UpkeepAt380(benchmark::State& state) {
    constexpr int FILES = 380;
    constexpr int SECONDS = 300;
    constexpr int BATCH_SECONDS = 5;
    const std::string directory = FreshDataDirectory("upkeep-bench");
    const std::string histLog = directory + "/HistLog";
    WriteHistory(histLog, FILES, 1, 600);
    const std::time_t start =
        LocalCalendar().Bounds(CivilDays::AddDays(FIRST_DAY, 1)).start + 36000;
    double busy = 0.0;
    for (auto _ : state) {
        SummaryKeeper keeper(std::chrono::hours(1));
        keeper.Start();
        if (!keeper.Flush()) {
            state.SkipWithError("the summary keeper failed");
            break;
        }
        busy = 0.0;
        for (int second = 0; second < SECONDS; ++second) {
            for (int file = 0; file < FILES; ++file) {
                const std::string name = SerialOf(file) + ".csv";
                benchmark::DoNotOptimize(
                    AppendHistoryLine(histLog + "/" + name, SINGLE_HISTORY_HEADER,
                                      Line(start + second, 36000 + second, 2000 + file)));
                keeper.Notify(name);
            }
            if ((second + 1) % BATCH_SECONDS == 0) {
                const auto before = std::chrono::steady_clock::now();
                benchmark::DoNotOptimize(keeper.Flush());
                busy += std::chrono::duration<double>(std::chrono::steady_clock::now() - before)
                            .count();
            }
        }
        state.SetIterationTime(busy);
    }
    state.counters["core %"] = 100.0 * busy / SECONDS;
    std::filesystem::remove_all(directory);
}
BENCHMARK(UpkeepAt380)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);

} // namespace

BENCHMARK_MAIN();
