#include "ChildProcess.h"
#include "SimControl.h"

#include <csignal>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sstream>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

const std::string kBin = HELIOWATCH_BIN_DIR;

std::string ReadFile(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

std::int32_t LittleEndian32(const std::string& bytes, std::size_t offset) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
        value =
            value << 8 | static_cast<unsigned char>(bytes[offset + static_cast<std::size_t>(i)]);
    }
    return static_cast<std::int32_t>(value);
}

// Every data line is complete (nothing half-written at the end) and lines
// follow each other at the sampling interval.
void ExpectWholeLinesAtTheInterval(const std::string& history, int intervalSeconds) {
    ASSERT_GE(history.size(), 2U);
    EXPECT_EQ(history.substr(history.size() - 2), "\r\n");
    std::istringstream lines(history);
    std::string line;
    std::getline(lines, line); // header
    std::vector<std::time_t> times;
    while (std::getline(lines, line)) {
        ASSERT_EQ(line.back(), '\r') << line;
        EXPECT_EQ(std::count(line.begin(), line.end(), ','), 14) << line;
        std::tm local{};
        ASSERT_NE(strptime(line.c_str(), "%Y/%m/%d %H:%M:%S", &local), nullptr) << line;
        local.tm_isdst = -1;
        times.push_back(std::mktime(&local));
    }
    ASSERT_GE(times.size(), 3U);
    for (std::size_t i = 1; i < times.size(); ++i) {
        EXPECT_GE(times[i] - times[i - 1], intervalSeconds - 1);
        EXPECT_LE(times[i] - times[i - 1], 3 * intervalSeconds);
    }
}

class HeadlessStationTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* base = std::getenv("HELIOWATCH_TEST_TMP");
        root = fs::path(base != nullptr ? base : "/tmp") /
               ("e2e-" + std::to_string(getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root);
        fs::create_directories(root / "ports");
        config = root / "Heliowatch.ini";
    }
    void TearDown() override { fs::remove_all(root); }

    std::vector<std::string> Station(const std::vector<std::string>& extra = {}) const {
        std::vector<std::string> argv{kBin + "/heliowatch", "--headless",
                                      "--config",           config.string(),
                                      "--port-dir",         (root / "ports").string(),
                                      "--data-dir",         (root / "data").string()};
        argv.insert(argv.end(), extra.begin(), extra.end());
        return argv;
    }

    fs::path root;
    fs::path config;
};

TEST_F(HeadlessStationTest, MonitorsASimulatedPlantAndEndsCleanlyOnSigterm) {
    const fs::path control = root / "sim.sock";
    ChildProcess sim({kBin + "/heliowatch-sim", "--port-dir", (root / "ports").string(), "--bus",
                      "COM3:single*1", "--bus", "COM12:three*1", "--control", control.string(),
                      "--serial", "COM3:1=SINGLE0000000001", "--serial",
                      "COM12:1=THREE00000000001"});
    ASSERT_TRUE(sim.WaitForLine("ready", 10s)) << sim.ErrorOutput();
    std::ofstream(config) << "[Com3]\nEnable=1\n[Com12]\nEnable=1\n[Interval]\nInterval=1\n";

    ChildProcess station(Station());
    EXPECT_TRUE(station.WaitForLine("COM3 - - port-opened", 5s));
    ASSERT_TRUE(station.WaitForLine("COM3 1 SINGLE0000000001 online", 20s))
        << station.ErrorOutput();
    ASSERT_TRUE(station.WaitForLine("COM12 1 THREE00000000001 online", 20s));

    EXPECT_EQ(SimControl(control, "set SINGLE0000000001 fault 2 0x0100").rfind("ok", 0), 0U);
    EXPECT_TRUE(station.WaitForLine("COM3 1 SINGLE0000000001 fault-opened", 10s));
    EXPECT_EQ(SimControl(control, "clear SINGLE0000000001").rfind("ok", 0), 0U);
    EXPECT_TRUE(station.WaitForLine("COM3 1 SINGLE0000000001 fault-closed", 10s));

    EXPECT_EQ(SimControl(control, "vanish COM12").rfind("ok", 0), 0U);
    EXPECT_TRUE(station.WaitForLine("COM12 - - port-lost", 10s));

    station.Signal(SIGTERM);
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(station.Wait(5s), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - started, 3s);

    const fs::path histLog = root / "data" / "HistLog";
    const std::string history = ReadFile(histLog / "SINGLE0000000001.csv");
    EXPECT_EQ(history.rfind("  Time,Temp(C),Vpv(V),", 0), 0U);
    ExpectWholeLinesAtTheInterval(history, 1);
    EXPECT_TRUE(fs::exists(histLog / "THREE00000000001.csv"));
    const std::string faults = ReadFile(histLog / "InvFaultRecord.dat");
    ASSERT_EQ(faults.size(), 17U + 40U);
    EXPECT_EQ(faults.substr(0, 17), "Fault Record File");
    EXPECT_EQ(faults.substr(17, 16), "SINGLE0000000001");
    // Closed: the end time is the sample that ended the fault, not the no-time mark.
    EXPECT_GE(LittleEndian32(faults, 17 + 36), LittleEndian32(faults, 17 + 32));
    sim.Signal(SIGTERM);
    EXPECT_EQ(sim.Wait(5s), 0);
}

TEST_F(HeadlessStationTest, SecondStationOnTheSameDataDirectoryEndsAtOnce) {
    ChildProcess first(Station());
    const auto giveUp = std::chrono::steady_clock::now() + 5s;
    while (!fs::exists(root / "data" / "heliowatch.lock") &&
           std::chrono::steady_clock::now() < giveUp) {
        std::this_thread::sleep_for(10ms);
    }
    std::this_thread::sleep_for(100ms); // the lock follows the file at once

    ChildProcess second(Station());
    EXPECT_EQ(second.Wait(5s), 3);
    EXPECT_NE(second.ErrorOutput().find("another station already writes to the data directory " +
                                        (root / "data").string()),
              std::string::npos)
        << second.ErrorOutput();
    first.Signal(SIGTERM);
    EXPECT_EQ(first.Wait(5s), 0);
}

TEST_F(HeadlessStationTest, SecondStationOnTheSameWebPortEndsWithTheReason) {
    const int probe = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address);
    getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length);
    close(probe);
    const std::string port = std::to_string(ntohs(address.sin_port));
    std::ofstream(config) << "[Web]\nEnable=1\nPort=" << port << "\n";
    ChildProcess first(Station());
    const auto giveUp = std::chrono::steady_clock::now() + 5s;
    while (first.ErrorOutput().find("web dashboard at") == std::string::npos &&
           std::chrono::steady_clock::now() < giveUp) {
        std::this_thread::sleep_for(50ms);
    }

    ChildProcess second(Station({"--data-dir", (root / "data2").string()}));
    EXPECT_EQ(second.Wait(5s), 1);
    EXPECT_NE(second.ErrorOutput().find("cannot listen on 127.0.0.1 port " + port +
                                        ": Address already in use"),
              std::string::npos)
        << second.ErrorOutput();
    first.Signal(SIGTERM);
    EXPECT_EQ(first.Wait(5s), 0);
}

TEST_F(HeadlessStationTest, UnknownOptionPrintsTheUsage) {
    ChildProcess station({kBin + "/heliowatch", "--headless", "--frobnicate"});
    EXPECT_EQ(station.Wait(5s), 1);
    const std::string error = station.ErrorOutput();
    EXPECT_NE(error.find("unknown option --frobnicate"), std::string::npos);
    EXPECT_NE(error.find("Usage: heliowatch"), std::string::npos);
}

TEST_F(HeadlessStationTest, MalformedSettingsAreOneClearLine) {
    std::ofstream(config, std::ios::binary) << std::string("\x00\x01garbage\xff", 10);
    ChildProcess station(Station());
    EXPECT_EQ(station.Wait(5s), 1);
    const std::string error = station.ErrorOutput();
    EXPECT_EQ(error.rfind("heliowatch: settings file ", 0), 0U) << error;
    EXPECT_NE(error.find("malformed"), std::string::npos);
    EXPECT_EQ(std::count(error.begin(), error.end(), '\n'), 1);
    EXPECT_FALSE(fs::exists(root / "data" / "HistLog"));
}

} // namespace
