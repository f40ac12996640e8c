#include "BrokerRecorder.h"
#include "ChildProcess.h"
#include "TempDirectory.h"
#include "TestBroker.h"

#include <csignal>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;

const std::string kBin = HELIOWATCH_BIN_DIR;
const std::string kSerial = "SIM0000000003001";

// The station program and the simulator, the station publishing to a
// broker of the test's own under the prefix "e2e".
class BrokerStationTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(broker.Start());
        std::filesystem::create_directories(ports);
        sim = std::make_unique<ChildProcess>(std::vector<std::string>{
            kBin + "/heliowatch-sim", "--port-dir", ports, "--bus", "COM3:single*1"});
        ASSERT_TRUE(sim->WaitForLine("ready", 10s)) << sim->ErrorOutput();
        std::ofstream(config) << "[Com3]\nEnable=1\n[Interval]\nInterval=1\n[Mqtt]\nEnable=1\n"
                              << "Host=127.0.0.1\nPort=" << broker.Port()
                              << "\nTopicPrefix=e2e\nStationId=e2e\n";
        recorder = std::make_unique<BrokerRecorder>(broker.Port());
    }
    void TearDown() override {
        if (sim) {
            sim->Signal(SIGTERM);
            EXPECT_EQ(sim->Wait(5s), 0);
        }
    }

    std::vector<std::string> Station(bool headless) const {
        std::vector<std::string> argv{kBin + "/heliowatch", "--config", config,
                                      "--port-dir",         ports,      "--data-dir",
                                      root.Path() + "/data"};
        if (headless) {
            argv.insert(argv.begin() + 1, "--headless");
        }
        return argv;
    }
    std::optional<ReceivedMessage> Told(const std::string& topic, const std::string& payload,
                                        std::chrono::milliseconds timeout, std::size_t from = 0) {
        return recorder->WaitFor(
            [&](const ReceivedMessage& message) {
                return message.topic == topic && message.payload.find(payload) != std::string::npos;
            },
            timeout, from);
    }

    TestBroker broker;
    TempDirectory root;
    const std::string ports = root.Path() + "/ports";
    const std::string config = root.Path() + "/Heliowatch.ini";
    std::unique_ptr<ChildProcess> sim;
    std::unique_ptr<BrokerRecorder> recorder;
};

TEST_F(BrokerStationTest, KilledStationIsMarkedOfflineByTheBroker) {
    ChildProcess station(Station(true));
    ASSERT_TRUE(station.WaitForLine(" broker-connected", 10s)) << station.ErrorOutput();
    ASSERT_TRUE(recorder->WaitFor("e2e/" + kSerial + "/state", 20s));

    const std::size_t mark = recorder->Count();
    station.Signal(SIGKILL);
    EXPECT_TRUE(Told("e2e/status", "offline", 5s, mark));
}

TEST_F(BrokerStationTest, WindowPublishesAsTheHeadlessStationDoes) {
#ifndef HELIOWATCH_WITH_GUI
    GTEST_SKIP() << "built without the window";
#endif
    std::filesystem::create_directories(root.Path() + "/runtime");
    std::filesystem::permissions(root.Path() + "/runtime", std::filesystem::perms::owner_all);
    setenv("XDG_RUNTIME_DIR", (root.Path() + "/runtime").c_str(), 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ChildProcess window(Station(false));
    EXPECT_TRUE(Told("e2e/events", "\"event\":\"registered\"", 20s)) << window.ErrorOutput();
    EXPECT_TRUE(Told("e2e/events", "\"event\":\"online\"", 10s));
    EXPECT_TRUE(Told("e2e/" + kSerial + "/availability", "online", 5s));
    EXPECT_TRUE(Told("e2e/" + kSerial + "/state", "\"pac_w\":", 5s));
    EXPECT_TRUE(Told("homeassistant/device/heliowatch_e2e_" + kSerial + "/config",
                     "\"pac_w\":{\"p\":\"sensor\"", 5s));

    window.Signal(SIGTERM);
    EXPECT_EQ(window.Wait(10s), 0) << window.ErrorOutput();
    EXPECT_TRUE(Told("e2e/status", "offline", 5s));
}

} // namespace
