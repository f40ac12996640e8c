// The web server: first byte of a page, /metrics of a full station, the
// alerts from a busy outbox, and the cost of many live streams.
#include "alerts/AlertCenter.h"
#include "model/InverterGroup.h"
#include "model/SingleRuntimeData.h"
#include "platform/Clock.h"
#include "web/MetricsText.h"
#include "web/WebServer.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <httplib.h>
#include <sys/resource.h>
#include <thread>

namespace {
using namespace std::chrono_literals;

// ports groups of perPort polled single-phase inverters with a day of samples.
std::vector<std::unique_ptr<CInverterGroup>> Plant(int ports, int perPort) {
    std::vector<std::unique_ptr<CInverterGroup>> groups;
    const std::time_t now = std::time(nullptr);
    for (int port = 1; port <= ports; ++port) {
        auto group = std::make_unique<CInverterGroup>();
        group->m_nComPort = port;
        for (int address = 1; address <= perPort; ++address) {
            auto inverter = group->CreateInverter(static_cast<std::uint8_t>(address));
            inverter->m_strSerialNo = "SIM00000000" + std::to_string(port * 100 + address);
            inverter->m_strModel = "Skylark S3000";
            inverter->m_bOnline = 1;
            inverter->m_nErrorState = 1;
            auto data = std::make_unique<SingleRuntimeData>();
            data->m_tSample = now;
            data->m_nPac = static_cast<std::uint16_t>(20000 + address);
            data->m_nFac = 5000;
            data->m_nVac = 2300;
            inverter->m_pRuntimeData = std::move(data);
            for (int second = 0; second < 8 * 3600; second += 10) {
                inverter->m_powerGraph.AddSample({now - second, 2000.0});
            }
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

std::unique_ptr<WebServer> Serve(const GroupVisitor& groups, WebServerConfig config = {}) {
    config.port = 0;
    auto server = std::make_unique<WebServer>(groups, config);
    std::string problem;
    if (!server->Start(&problem)) {
        std::abort();
    }
    return server;
}

void BM_MetricsOf380Inverters(benchmark::State& state) {
    const auto groups = Plant(19, 20);
    const auto server = Serve(Visitor(groups));
    httplib::Client client("127.0.0.1", server->Port());
    client.set_keep_alive(true);
    for (auto _ : state) {
        auto result = client.Get("/metrics");
        benchmark::DoNotOptimize(result->body.size());
    }
}
BENCHMARK(BM_MetricsOf380Inverters)->Unit(benchmark::kMillisecond);

// A fresh connection each time, as a browser opening the page.
void BM_FirstByteOfOverview(benchmark::State& state) {
    const auto groups = Plant(1, 20);
    const auto server = Serve(Visitor(groups));
    for (auto _ : state) {
        httplib::Client client("127.0.0.1", server->Port());
        std::size_t bytes = 0;
        client.Get("/", [&](const char*, std::size_t length) {
            bytes += length;
            return false; // the first bytes are enough
        });
        benchmark::DoNotOptimize(bytes);
    }
}
BENCHMARK(BM_FirstByteOfOverview)->Unit(benchmark::kMillisecond);

// Takes every alert, or none while down.
class BenchChannel : public AlertChannel {
public:
    BenchChannel(std::string name, bool down) : m_name(std::move(name)), m_down(down) {}
    std::string Name() const override { return m_name; }
    std::string Deliver(const Alert&) override { return m_down ? "connection refused" : ""; }

private:
    std::string m_name;
    bool m_down;
};

// The outbox of a station whose 60 inverters went into fault, 40 of them out
// again: 20 conditions open, 100 alerts sent by webhook and waiting for mail.
void BM_AlertsWithFiftySent(benchmark::State& state) {
    char folder[] = "/tmp/heliowatch-bench.XXXXXX";
    if (::mkdtemp(folder) == nullptr) {
        std::abort();
    }
    {
        AlertCenter alerts(SystemClock::Instance());
        std::string problem;
        if (!alerts.Open(folder, problem)) {
            std::abort();
        }
        std::vector<std::unique_ptr<AlertChannel>> channels;
        channels.push_back(std::make_unique<BenchChannel>("webhook", false));
        channels.push_back(std::make_unique<BenchChannel>("mail", true));
        alerts.Configure(AlertSettings{}, std::move(channels), false);
        for (int address = 1; address <= 60; ++address) {
            EventSubject inverter;
            inverter.comPort = 3;
            inverter.address = address;
            inverter.serialNo = "SIM00000000030" + std::to_string(10 + address);
            inverter.online = true;
            inverter.errorBits = 0x400;
            alerts.OnStationEvent({StationEventKind::FaultOpened, 0, inverter});
            if (address > 20) {
                alerts.OnStationEvent({StationEventKind::FaultClosed, 0, inverter});
            }
        }
        alerts.Dispatcher().DeliverDue();
        WebServerConfig config;
        config.alerts = [&alerts] { return alerts.Snapshot(); };
        const auto server = Serve([](const auto&) {}, config);
        httplib::Client client("127.0.0.1", server->Port());
        client.set_keep_alive(true);
        for (auto _ : state) {
            auto result = client.Get("/api/alerts");
            benchmark::DoNotOptimize(result->body.size());
        }
        state.counters["bytes"] = static_cast<double>(client.Get("/api/alerts")->body.size());
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_AlertsWithFiftySent)->Unit(benchmark::kMillisecond);

double ProcessCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// CPU of the whole process, streaming clients included, as a share of one
// core while 50 streams receive the plant of 20 inverters each second.
void BM_FiftyLiveStreams(benchmark::State& state) {
    const auto groups = Plant(1, 20);
    const auto server = Serve(Visitor(groups));
    for (auto _ : state) {
        std::atomic<bool> stop{false};
        std::vector<std::thread> clients;
        for (int i = 0; i < 50; ++i) {
            clients.emplace_back([&] {
                httplib::Client client("127.0.0.1", server->Port());
                client.Get("/api/live", [&](const char*, std::size_t) { return !stop.load(); });
            });
        }
        std::this_thread::sleep_for(2s);
        const double before = ProcessCpuSeconds();
        std::this_thread::sleep_for(10s);
        state.counters["cpu_percent_of_one_core"] = (ProcessCpuSeconds() - before) / 10.0 * 100.0;
        stop = true;
        for (std::thread& client : clients) {
            client.join();
        }
    }
}
BENCHMARK(BM_FiftyLiveStreams)->Iterations(1)->Unit(benchmark::kSecond);
} // namespace

BENCHMARK_MAIN();
