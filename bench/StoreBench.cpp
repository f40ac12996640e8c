// History and fault-record appends, each a whole open-write-close as in a poll.
#include "model/Inverter.h"
#include "model/SingleRuntimeData.h"
#include "platform/DataDirectory.h"
#include "store/FaultRecordFile.h"
#include "store/HistoryWriter.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>

namespace {

std::string FreshDataDirectory() {
    char pattern[] = "/tmp/heliowatch-store-bench.XXXXXX";
    const std::string directory = mkdtemp(pattern);
    std::filesystem::create_directories(directory + "/HistLog");
    SetDataDirectory(directory);
    return directory;
}

void HistoryAppend(benchmark::State& state) {
    const std::string directory = FreshDataDirectory();
    CInverter inverter;
    inverter.m_strSerialNo = "BENCH00000000001";
    auto data = std::make_unique<SingleRuntimeData>();
    data->m_tSample = 1'800'000'000;
    data->m_nPac = 12345;
    data->m_dwETotal = 123456;
    inverter.m_pRuntimeData = std::move(data);
    for (auto _ : state) {
        WriteSingleHistory(inverter);
    }
    state.counters["lines/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    std::filesystem::remove_all(directory);
}
BENCHMARK(HistoryAppend)->MinTime(2.0)->UseRealTime();

void FaultRecordAppend(benchmark::State& state) {
    const std::string directory = FreshDataDirectory();
    InvFaultRecord record;
    record.mode = 2;
    record.errorBits = 0x0004;
    for (auto _ : state) {
        benchmark::DoNotOptimize(StoreFaultRecord(record, -1));
    }
    state.counters["records/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    std::filesystem::remove_all(directory);
}
BENCHMARK(FaultRecordAppend)->MinTime(2.0)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
