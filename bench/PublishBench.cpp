#include "InverterProfile.h"
#include "TestBroker.h"
#include "model/InverterGroup.h"
#include "model/SingleRuntimeData.h"
#include "model/ThreeRuntimeData.h"
#include "publish/MessageComposer.h"
#include "publish/Publisher.h"
#include "store/PlantTotals.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <ctime>
#include <sys/resource.h>
#include <thread>

namespace {
using namespace std::chrono_literals;
using SteadyClock = std::chrono::steady_clock;

double ProcessCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

std::unique_ptr<RuntimeData> FullSample(int phaseType) {
    if (phaseType == 3) {
        auto data = std::make_unique<ThreeRuntimeData>();
        data->m_nPac = 54321;
        data->m_dwETotal = 486223;
        data->m_nVacPhase[0] = data->m_nVacPhase[1] = data->m_nVacPhase[2] = 2301;
        return data;
    }
    auto data = std::make_unique<SingleRuntimeData>();
    data->m_nPac = 12345;
    data->m_nVac = 2301;
    data->m_nFac = 4998;
    data->m_dwETotal = 100000;
    data->m_nEToday = 1234;
    return data;
}

// Inverters described and sampled as after a poll, on buses of 20, and a
// publisher connected to a broker of the benchmark's own; nobody subscribes,
// so what the broker does costs the station nothing.
class PublishingPlant {
public:
    PublishingPlant(int buses, int phaseType) : m_publisher(1 << 20) {
        if (!m_broker.Start()) {
            return;
        }
        const sim::InverterKind kind =
            phaseType == 3 ? sim::InverterKind::Three : sim::InverterKind::Single;
        for (int bus = 0; bus < buses; ++bus) {
            auto& group = *m_groups.emplace_back(std::make_unique<CInverterGroup>());
            group.m_nComPort = bus + 1;
            for (std::uint8_t address = 1; address <= 20; ++address) {
                auto inverter = group.CreateInverter(address);
                inverter->m_strSerialNo = "BENCH" + std::to_string(bus * 100 + address);
                inverter->m_strModel = "Skylark S3000";
                inverter->m_nPhaseType = phaseType;
                inverter->m_runtimeFormat = sim::DefaultRuntimeFields(kind);
                inverter->m_pRuntimeData = FullSample(phaseType);
                m_inverters.push_back(group.AppendInverter(std::move(inverter)));
            }
        }
        MqttSettings settings;
        settings.enable = true;
        settings.host = "127.0.0.1";
        settings.port = m_broker.Port();
        settings.topicPrefix = "bench";
        m_publisher.Configure(settings);
        m_connected = WaitUntilSent(
            [this] { return m_publisher.Status().state == BrokerStatus::State::Connected; });
    }

    bool Connected() const { return m_connected; }
    Publisher& GetPublisher() { return m_publisher; }
    const std::vector<CInverter*>& Inverters() const { return m_inverters; }
    bool Drain() {
        return WaitUntilSent([this] { return m_publisher.Status().queued == 0; });
    }

private:
    template <class Condition>
    static bool WaitUntilSent(Condition condition) {
        const auto deadline = SteadyClock::now() + 10s;
        while (!condition()) {
            if (SteadyClock::now() > deadline) {
                return false;
            }
            std::this_thread::sleep_for(5ms);
        }
        // What the client library still holds leaves within a moment.
        std::this_thread::sleep_for(20ms);
        return true;
    }

    TestBroker m_broker;
    Publisher m_publisher;
    std::vector<std::unique_ptr<CInverterGroup>> m_groups;
    std::vector<CInverter*> m_inverters;
    bool m_connected = false;
};

// The part of a poll's publishing that is pure computation: the copy taken
// on the communication thread and the state message built from it. Arg 0 is
// the phase type.
void BM_ComposeState(benchmark::State& state) {
    const int phaseType = static_cast<int>(state.range(0));
    CInverterGroup group;
    auto inverter = group.CreateInverter(1);
    inverter->m_strSerialNo = "BENCH0000000001";
    inverter->m_nPhaseType = phaseType;
    inverter->m_runtimeFormat = sim::DefaultRuntimeFields(
        phaseType == 3 ? sim::InverterKind::Three : sim::InverterKind::Single);
    inverter->m_pRuntimeData = FullSample(phaseType);
    MqttSettings settings;
    settings.topicPrefix = "bench";
    settings.stationId = "bench";
    MessageComposer composer(settings);
    composer.Compose(CaptureState(*inverter), 0);
    for (auto _ : state) {
        benchmark::DoNotOptimize(composer.Compose(CaptureState(*inverter), 0));
    }
}

// Station CPU, every thread of the process, for one poll published: the copy
// on the communication thread, the JSON and the hand-over to the broker, in
// bursts of 1000 polls. Arg 0 is the phase type; the first round, with
// discovery, is left out.
void BM_PublishPerPoll(benchmark::State& state) {
    constexpr int ROUNDS = 50;
    PublishingPlant plant(1, static_cast<int>(state.range(0)));
    Publisher& publisher = plant.GetPublisher();
    if (!plant.Connected()) {
        state.SkipWithError("no broker");
        return;
    }
    for (CInverter* inverter : plant.Inverters()) {
        publisher.OnSampleDecoded(*inverter);
    }
    plant.Drain();
    double cpu = 0;
    std::size_t polls = 0;
    for (auto _ : state) {
        const double before = ProcessCpuSeconds();
        for (int round = 0; round < ROUNDS; ++round) {
            for (CInverter* inverter : plant.Inverters()) {
                publisher.OnSampleDecoded(*inverter);
            }
        }
        plant.Drain();
        cpu += ProcessCpuSeconds() - before;
        polls += ROUNDS * plant.Inverters().size();
        state.SetIterationTime(cpu / static_cast<double>(polls) * ROUNDS * 20);
    }
    state.counters["station_cpu_us_per_poll"] = cpu / static_cast<double>(polls) * 1e6;
    state.counters["dropped"] = static_cast<double>(publisher.Status().dropped);
}

// 19 buses of 20 inverters, every one polled each second and the plant
// totals once a second, for arg 0 seconds: the share of one core the process
// takes. Arg 1 = 0 runs the same without publishing; the difference is what
// publishing adds.
void BM_PublishLoad(benchmark::State& state) {
    constexpr int BUSES = 19;
    PublishingPlant plant(BUSES, 1);
    Publisher& publisher = plant.GetPublisher();
    if (!plant.Connected()) {
        state.SkipWithError("no broker");
        return;
    }
    if (state.range(1) == 0) {
        publisher.Stop();
    }
    const auto& inverters = plant.Inverters();
    const auto perInverter =
        std::chrono::duration_cast<SteadyClock::duration>(1s) / static_cast<long>(inverters.size());
    double share = 0;
    for (auto _ : state) {
        const double cpuBefore = ProcessCpuSeconds();
        const auto start = SteadyClock::now();
        for (long second = 0; second < state.range(0); ++second) {
            for (std::size_t i = 0; i < inverters.size(); ++i) {
                std::this_thread::sleep_until(start + std::chrono::seconds(second) +
                                              perInverter * static_cast<long>(i));
                publisher.OnSampleDecoded(*inverters[i]);
            }
            publisher.OnPlantTotals(PlantTotals{std::time(nullptr), 1234.5, 10, 10000, 380, 380});
        }
        plant.Drain();
        const double wall = std::chrono::duration<double>(SteadyClock::now() - start).count();
        share = (ProcessCpuSeconds() - cpuBefore) / wall * 100;
        state.SetIterationTime(wall);
    }
    state.counters["cpu_share_pct"] = share;
    state.counters["dropped"] = static_cast<double>(publisher.Status().dropped);
}
} // namespace

BENCHMARK(BM_ComposeState)->ArgName("phase")->Arg(1)->Arg(3)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PublishPerPoll)
    ->ArgName("phase")
    ->Arg(1)
    ->Arg(3)
    ->UseManualTime()
    ->Iterations(20)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PublishLoad)
    ->ArgNames({"seconds", "publishing"})
    ->Args({20, 0})
    ->Args({20, 1})
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kSecond);
BENCHMARK_MAIN();
