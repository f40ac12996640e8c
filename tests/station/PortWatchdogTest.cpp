#include "Recorders.h"
#include "comm/CommShared.h"
#include "platform/Clock.h"
#include "platform/DataDirectory.h"
#include "platform/SerialPort.h"
#include "station/ServiceUpkeep.h"
#include "station/ServiceWatchdog.h"
#include "store/HeliowatchDoc.h"

#include <condition_variable>
#include <gtest/gtest.h>
#include <mutex>
#include <thread>

namespace {
using namespace std::chrono_literals;
using SteadyTime = std::chrono::steady_clock::time_point;

// Holds whoever passes through while it is closed, as a hung driver would.
class Gate {
public:
    void Close() {
        const std::lock_guard lock(m_mutex);
        m_closed = true;
    }
    void Open() {
        {
            const std::lock_guard lock(m_mutex);
            m_closed = false;
        }
        m_opened.notify_all();
    }
    void Pass() {
        std::unique_lock lock(m_mutex);
        m_opened.wait(lock, [this] { return !m_closed; });
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_opened;
    bool m_closed = false;
};

// A line where nobody answers; every call passes its gate first.
class GatedPort : public SerialPort {
public:
    explicit GatedPort(Gate& gate) : m_gate(gate) {}
    int Open() override {
        m_open = true;
        return 1;
    }
    bool IsOpen() const override {
        m_gate.Pass();
        return m_open;
    }
    void Close() override { m_open = false; }
    void PurgeRx() override {}
    void PurgeTx() override {}
    int Send(const std::uint8_t*, int) override { return 1; }
    int Receive(std::uint8_t*, int&) override {
        m_gate.Pass();
        std::this_thread::sleep_for(5ms);
        return 0;
    }

private:
    Gate& m_gate;
    bool m_open = false;
};

TEST(PortWatchdogTest, AHeldPortThreadStopsThePingsWithinOnePeriodAndIsNamed) {
    constexpr auto PERIOD = 400ms;
    Gate com3;
    Gate com4;
    RecordingNotifier notifier;
    CommEnvironment environment;
    environment.clock = &SystemClock::Instance();
    environment.notifier = &notifier;
    environment.makePort = [&](const SerialSettings& settings) {
        return std::make_unique<GatedPort>(settings.port == 4 ? com4 : com3);
    };
    SetDataDirectory(::testing::TempDir());
    g_viewsCreated = 1;
    CHeliowatchDoc document(environment, ::testing::TempDir() + "/none.ini");
    document.AddPortGroup(3, 0);
    document.AddPortGroup(4, 0);

    std::vector<SteadyTime> pings;
    ServiceWatchdog watchdog(PERIOD, [&pings](const std::string& state) {
        if (state == "WATCHDOG=1") {
            pings.push_back(std::chrono::steady_clock::now());
        }
    });
    ServiceUpkeep upkeep(document, watchdog, SystemClock::Instance(), "none.ini");
    const auto runRounds = [&upkeep](std::chrono::milliseconds length) {
        for (const auto end = std::chrono::steady_clock::now() + length;
             std::chrono::steady_clock::now() < end;) {
            upkeep.Round();
            std::this_thread::sleep_for(10ms);
        }
    };

    ::testing::internal::CaptureStderr();
    runRounds(PERIOD * 2);
    const std::size_t pingsWhileWorking = pings.size();
    com4.Close();
    const SteadyTime held = std::chrono::steady_clock::now();
    runRounds(PERIOD * 3);
    com4.Open();
    const std::string log = ::testing::internal::GetCapturedStderr();
    document.OnCloseDocument();

    EXPECT_GE(pingsWhileWorking, 3U);
    ASSERT_FALSE(pings.empty());
    // The thread reaches its gate within a step or two; then one period.
    EXPECT_LT(pings.back(), held + PERIOD + 100ms);
    EXPECT_NE(log.find("the thread of port COM4 has finished no step"), std::string::npos) << log;
    EXPECT_EQ(log.find("COM3"), std::string::npos) << log;
    g_viewsCreated = 0;
}

} // namespace
