#include "PtyPair.h"
#include "TempDirectory.h"
#include "platform/ComSerial.h"
#include "platform/PortDirectory.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdint>
#include <vector>

namespace {

constexpr int PORT = 3;
constexpr int FULL_REPLY = 269;
constexpr int READS = 20;

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// A read of a full reply on which only 13 bytes come must give up at its
// deadline, 369 ms after it started, and not much later.
void BM_ShortReplyReturnsAtTheDeadline(benchmark::State& state) {
    TempDirectory directory;
    PtyPair pty;
    if (!pty.IsOpen() || !pty.LinkAs(directory.Path(), PORT)) {
        state.SkipWithError("no pseudo-terminal");
        return;
    }
    SetPortDirectory(directory.Path());
    CSerial serial(PORT, 9600, 0, 8, 0);
    if (serial.Open() != 1) {
        state.SkipWithError("port did not open");
        return;
    }
    const std::vector<std::uint8_t> reply(13, 0x5A);
    std::vector<std::uint8_t> buffer(FULL_REPLY);
    std::vector<double> returnsMs;
    for (auto _ : state) {
        pty.Write(reply);
        int count = FULL_REPLY;
        const auto start = std::chrono::steady_clock::now();
        const int result = serial.Receive(buffer.data(), count);
        const std::chrono::duration<double> taken = std::chrono::steady_clock::now() - start;
        if (result != 1 || count != 13) {
            state.SkipWithError("short reply not received");
            break;
        }
        state.SetIterationTime(taken.count());
        returnsMs.push_back(taken.count() * 1000.0);
    }
    SetPortDirectory("");
    if (!returnsMs.empty()) {
        state.counters["median_ms"] = Median(returnsMs);
        state.counters["min_ms"] = *std::min_element(returnsMs.begin(), returnsMs.end());
        state.counters["max_ms"] = *std::max_element(returnsMs.begin(), returnsMs.end());
    }
}

BENCHMARK(BM_ShortReplyReturnsAtTheDeadline)
    ->Iterations(READS)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
