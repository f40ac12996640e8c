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

TEST(BrokerStationTest, KilledStationIsMarkedOfflineByTheBroker) {
    TestBroker broker;
    ASSERT_TRUE(broker.Start());
    TempDirectory root;
    const std::string ports = root.Path() + "/ports";
    const std::string config = root.Path() + "/Heliowatch.ini";
    std::filesystem::create_directories(ports);
    ChildProcess sim({kBin + "/heliowatch-sim", "--port-dir", ports, "--bus", "COM3:single*1"});
    ASSERT_TRUE(sim.WaitForLine("ready", 10s)) << sim.ErrorOutput();
    std::ofstream(config) << "[Com3]\nEnable=1\n[Interval]\nInterval=1\n[Mqtt]\nEnable=1\n"
                          << "Host=127.0.0.1\nPort=" << broker.Port() << "\nTopicPrefix=e2e\n";
    BrokerRecorder recorder(broker.Port());

    ChildProcess station({kBin + "/heliowatch", "--headless", "--config", config, "--port-dir",
                          ports, "--data-dir", root.Path() + "/data"});
    ASSERT_TRUE(station.WaitForLine(" broker-connected", 10s)) << station.ErrorOutput();
    ASSERT_TRUE(recorder.WaitFor("e2e/SIM0000000003001/state", 20s));

    const std::size_t mark = recorder.Count();
    station.Signal(SIGKILL);
    EXPECT_TRUE(recorder.WaitFor(
        [](const ReceivedMessage& message) {
            return message.topic == "e2e/status" && message.payload == "offline";
        },
        5s, mark));
    sim.Signal(SIGTERM);
    EXPECT_EQ(sim.Wait(5s), 0);
}

} // namespace
