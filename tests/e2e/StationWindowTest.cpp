#include "ChildProcess.h"

#include <csignal>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <thread>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

const std::string kBin = HELIOWATCH_BIN_DIR;

bool WaitForFile(const fs::path& path, std::chrono::seconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline) {
        if (fs::exists(path) && fs::file_size(path) > 0) {
            return true;
        }
        std::this_thread::sleep_for(100ms);
    }
    return false;
}

// The station with its window, on the offscreen platform.
TEST(StationWindowTest, SecondCopyEndsAtOnceAndTheFirstClosesCleanly) {
    const char* base = std::getenv("HELIOWATCH_TEST_TMP");
    const fs::path root =
        fs::path(base != nullptr ? base : "/tmp") / ("window-" + std::to_string(getpid()));
    fs::remove_all(root);
    fs::create_directories(root / "ports");
    fs::create_directories(root / "runtime");
    fs::permissions(root / "runtime", fs::perms::owner_all);
    setenv("XDG_RUNTIME_DIR", (root / "runtime").c_str(), 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    std::ofstream(root / "Heliowatch.ini") << "[Com5]\nEnable=1\n";

    ChildProcess sim({kBin + "/heliowatch-sim", "--port-dir", (root / "ports").string(), "--bus",
                      "COM5:single*1", "--serial", "COM5:1=WINDOWED00000001"});
    ASSERT_TRUE(sim.WaitForLine("ready", 10s)) << sim.ErrorOutput();

    auto station = [&](const std::string& dataDir) {
        return std::vector<std::string>{kBin + "/heliowatch",
                                        "--config",
                                        (root / "Heliowatch.ini").string(),
                                        "--port-dir",
                                        (root / "ports").string(),
                                        "--data-dir",
                                        (root / dataDir).string()};
    };
    ChildProcess first(station("first"));
    ASSERT_TRUE(WaitForFile(root / "first" / "HistLog" / "WINDOWED00000001.csv", 30s))
        << first.ErrorOutput();

    ChildProcess second(station("second"));
    EXPECT_EQ(second.Wait(5s), 3);
    const std::string error = second.ErrorOutput();
    EXPECT_NE(error.find("already running"), std::string::npos) << error;
    EXPECT_EQ(std::count(error.begin(), error.end(), '\n'), 1) << error;
    EXPECT_FALSE(fs::exists(root / "second"));

    first.Signal(SIGTERM);
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(first.Wait(10s), 0) << first.ErrorOutput();
    EXPECT_LT(std::chrono::steady_clock::now() - started, 3s);
    sim.Signal(SIGTERM);
    EXPECT_EQ(sim.Wait(5s), 0);
    fs::remove_all(root);
}

} // namespace
