#include "comm/Frame.h"
#include "comm/Protocol.h"
#include "comm/RuntimeDecode.h"
#include "model/InverterGroup.h"
#include "model/SingleRuntimeData.h"

#include <array>
#include <benchmark/benchmark.h>
#include <vector>

namespace {

// Every identifier a single-phase inverter can report: 26 values.
const std::vector<std::uint8_t> SINGLE_FORMAT{0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x40, 0x41,
                                              0x42, 0x43, 0x44, 0x45, 0x47, 0x48, 0x49, 0x4A, 0x4C,
                                              0x0D, 0x7E, 0x7F, 0x39, 0x3A, 0x3D, 0x78, 0x79};

constexpr std::uint8_t INVERTER_ADDRESS = 2;
constexpr std::time_t SAMPLE_TIME = 1'700'000'000;

struct PolledInverter {
    CInverterGroup group;
    CInverter* inverter = nullptr;
    std::array<std::uint8_t, FRAME_BUFFER_SIZE> frame{};
    std::size_t frameLength = 0;

    PolledInverter() {
        auto created = group.CreateInverter(INVERTER_ADDRESS);
        created->m_runtimeFormat = SINGLE_FORMAT;
        created->m_pRuntimeData = std::make_unique<SingleRuntimeData>();
        inverter = group.AppendInverter(std::move(created));

        BusMessage reply;
        reply.bytes[0] = INVERTER_ADDRESS;
        reply.bytes[1] = MONITOR_ADDRESS;
        reply.bytes[2] = CTRL_READ;
        reply.bytes[3] = static_cast<std::uint8_t>(~FN_READ_RUNTIME_DATA);
        reply.bytes[4] = static_cast<std::uint8_t>(2 * SINGLE_FORMAT.size());
        for (std::size_t i = 0; i < reply.Length(); ++i) {
            reply.Data()[i] = static_cast<std::uint8_t>(i * 7 + 1);
        }
        frameLength = BuildFrame(frame.data(), reply);
    }

    const std::uint8_t* Payload() const { return frame.data() + FRAME_HEADER_SIZE; }
    std::size_t PayloadLength() const { return frame[6]; }
};

void BM_CheckAndDecodeSingleReply(benchmark::State& state) {
    PolledInverter polled;
    for (auto _ : state) {
        const bool valid =
            CheckReplyFrame(polled.frame.data(), polled.frameLength, FN_READ_RUNTIME_DATA, false);
        DecodeSingle(*polled.inverter, polled.Payload(), polled.PayloadLength(), SAMPLE_TIME);
        benchmark::DoNotOptimize(valid);
    }
    benchmark::ClobberMemory();
}
BENCHMARK(BM_CheckAndDecodeSingleReply);

void BM_CheckReplyFrame(benchmark::State& state) {
    PolledInverter polled;
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            CheckReplyFrame(polled.frame.data(), polled.frameLength, FN_READ_RUNTIME_DATA, false));
    }
}
BENCHMARK(BM_CheckReplyFrame);

void BM_DecodeSingle(benchmark::State& state) {
    PolledInverter polled;
    for (auto _ : state) {
        DecodeSingle(*polled.inverter, polled.Payload(), polled.PayloadLength(), SAMPLE_TIME);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_DecodeSingle);

} // namespace

BENCHMARK_MAIN();
