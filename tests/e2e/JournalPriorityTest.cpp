#include "ChildProcess.h"
#include "SimControl.h"

#include <csignal>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <regex>
#include <sstream>
#include <thread>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

std::string ReadFile(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// The station as systemd runs it: standard output and error are the
// journal's stream, named by JOURNAL_STREAM, here a file.
class JournalPriorityTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* base = std::getenv("HELIOWATCH_TEST_TMP");
        root = fs::path(base != nullptr ? base : "/tmp") /
               ("journal-" + std::to_string(getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root);
        fs::create_directories(root / "ports");
    }
    void TearDown() override { fs::remove_all(root); }

    ChildProcess Station(const fs::path& dataDirectory) const {
        const std::string command =
            "exec >>\"$0\" 2>&1; JOURNAL_STREAM=$(stat -c %d:%i \"$0\") exec \"$@\"";
        return ChildProcess({"/bin/sh", "-c", command, Journal().string(),
                             std::string(HELIOWATCH_BIN_DIR) + "/heliowatch", "--headless",
                             "--config", (root / "Heliowatch.ini").string(), "--port-dir",
                             (root / "ports").string(), "--data-dir", dataDirectory.string()});
    }
    fs::path Journal() const { return root / "journal"; }
    bool JournalHas(const std::string& text, std::chrono::seconds wait = 10s) const {
        const auto giveUp = std::chrono::steady_clock::now() + wait;
        while (ReadFile(Journal()).find(text) == std::string::npos) {
            if (std::chrono::steady_clock::now() > giveUp) {
                return false;
            }
            std::this_thread::sleep_for(50ms);
        }
        return true;
    }

    // The journal's line that holds text, with its priority.
    std::string JournalLine(const std::string& text) const {
        std::istringstream lines(ReadFile(Journal()));
        for (std::string line; std::getline(lines, line);) {
            if (line.find(text) != std::string::npos) {
                return line;
            }
        }
        return {};
    }

    fs::path root;
};

TEST_F(JournalPriorityTest, EveryFailureLineCarriesItsPriority) {
    const fs::path damaged = root / "damaged";
    fs::create_directories(damaged);
    std::ofstream(damaged / "HistSummary.db") << std::string(4096, 'x');
    std::ofstream(root / "a-file") << "where the data directory should be";
    const struct {
        const char* what;
        const char* settings;
        fs::path dataDirectory;
        std::string line; // with its priority
        bool ends;
    } cases[] = {
        {"settings", "\x01\x02\xff", root / "data", "<3>settings file ", true},
        {"data directory", "", root / "a-file" / "data",
         "<3>cannot create the data directory: ", true},
        {"summary", "", damaged, "<4>history summary: ", false},
    };
    for (const auto& each : cases) {
        std::ofstream(root / "Heliowatch.ini", std::ios::trunc) << each.settings;
        fs::remove(Journal());
        ChildProcess station = Station(each.dataDirectory);
        EXPECT_TRUE(JournalHas(each.line)) << each.what << ":\n" << ReadFile(Journal());
        if (!each.ends) {
            station.Signal(SIGTERM);
        }
        EXPECT_TRUE(station.Wait(10s).has_value()) << each.what;
        const std::regex prioritised("<[0-7]>.*");
        std::istringstream lines(ReadFile(Journal()));
        for (std::string line; std::getline(lines, line);) {
            EXPECT_TRUE(std::regex_match(line, prioritised)) << each.what << ": " << line;
        }
    }
}

// The event lines of the headless station go to the same stream: those that
// need someone are warnings, the rest information.
TEST_F(JournalPriorityTest, EventLinesThatNeedSomeoneAreWarnings) {
    const fs::path control = root / "sim.sock";
    ChildProcess sim({std::string(HELIOWATCH_BIN_DIR) + "/heliowatch-sim", "--port-dir",
                      (root / "ports").string(), "--bus", "COM3:single", "--bus", "COM4:single",
                      "--wire-time", "off", "--control", control.string(), "--exec",
                      "set COM4:1 fault 2 0x400"});
    ASSERT_TRUE(sim.WaitForLine("ready", 10s)) << sim.ErrorOutput();
    std::ofstream(root / "Heliowatch.ini")
        << "[Com3]\nEnable=1\n[Com4]\nEnable=1\n[Interval]\nInterval=1\n"
        << "[Mqtt]\nEnable=1\nHost=127.0.0.1\nPort=1\nTopicPrefix=j\n";
    ChildProcess station = Station(root / "data");
    ASSERT_TRUE(JournalHas(" COM3 1 SIM0000000003001 online", 20s)) << ReadFile(Journal());
    EXPECT_EQ(SimControl(control.string(), "vanish COM3"), "ok");

    const struct {
        const char* line;
        const char* priority;
    } cases[] = {
        {" COM3 1 SIM0000000003001 online", "<6>"},
        {" COM4 1 SIM0000000004001 fault-opened", "<4>"},
        {" broker-lost cannot connect to 127.0.0.1:1: Connection refused", "<4>"},
        {" COM3 - - port-lost", "<6>"},
        {" COM3 - - port-failed ", "<4>"},
        {" COM3 1 SIM0000000003001 offline", "<4>"},
    };
    for (const auto& each : cases) {
        EXPECT_TRUE(JournalHas(each.line, 40s)) << each.line << ":\n" << ReadFile(Journal());
        EXPECT_EQ(JournalLine(each.line).substr(0, 3), each.priority) << each.line;
    }
    station.Signal(SIGTERM);
    EXPECT_TRUE(station.Wait(10s).has_value());
    sim.Signal(SIGTERM);
    EXPECT_EQ(sim.Wait(5s), 0);
}

} // namespace
