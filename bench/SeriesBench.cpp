#include "model/DaySeries.h"

#include <benchmark/benchmark.h>
#include <ctime>
#include <malloc.h>

namespace {

// A full day at the default sampling interval of 2 s.
constexpr int SAMPLES_PER_DAY = 43'200;
constexpr int SAMPLE_INTERVAL = 2;

std::time_t LocalMidnight() {
    std::tm calendar{};
    calendar.tm_year = 124;
    calendar.tm_mon = 5;
    calendar.tm_mday = 21;
    calendar.tm_isdst = -1;
    return std::mktime(&calendar);
}

void FillDay(CDaySeries& series, std::time_t midnight) {
    for (int i = 0; i < SAMPLES_PER_DAY; ++i) {
        series.AddSample(CGraphSample{midnight + i * SAMPLE_INTERVAL, (i % 1000) * 1.5});
    }
}

void BM_AppendDay(benchmark::State& state) {
    const std::time_t midnight = LocalMidnight();
    for (auto _ : state) {
        CDaySeries series;
        FillDay(series, midnight);
        benchmark::DoNotOptimize(series.SampleCount());
    }
    state.counters["per_sample"] =
        benchmark::Counter(SAMPLES_PER_DAY, benchmark::Counter::kIsIterationInvariantRate |
                                                benchmark::Counter::kInvert);
}
BENCHMARK(BM_AppendDay)->Unit(benchmark::kMillisecond);

// Heap bytes in use, malloc's own chunk overhead included.
std::size_t HeapInUse() {
    return mallinfo2().uordblks;
}

void BM_DayMemory(benchmark::State& state) {
    const std::time_t midnight = LocalMidnight();
    double bytesPerSample = 0;
    for (auto _ : state) {
        const std::size_t before = HeapInUse();
        CDaySeries series;
        FillDay(series, midnight);
        const std::size_t after = HeapInUse();
        bytesPerSample = static_cast<double>(after - before) / SAMPLES_PER_DAY;
        benchmark::DoNotOptimize(series.SampleCount());
    }
    state.counters["heap_bytes_per_sample"] = bytesPerSample;
    state.counters["sample_bytes"] = sizeof(CGraphSample);
}
BENCHMARK(BM_DayMemory)->Iterations(3)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
