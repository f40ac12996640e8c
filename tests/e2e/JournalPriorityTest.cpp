#include "ChildProcess.h"

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

// The station as systemd runs it: standard error is the journal's stream,
// named by JOURNAL_STREAM, here a file.
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
            "exec 2>>\"$0\"; JOURNAL_STREAM=$(stat -c %d:%i \"$0\") exec \"$@\"";
        return ChildProcess({"/bin/sh", "-c", command, Journal().string(),
                             std::string(HELIOWATCH_BIN_DIR) + "/heliowatch", "--headless",
                             "--config", (root / "Heliowatch.ini").string(), "--port-dir",
                             (root / "ports").string(), "--data-dir", dataDirectory.string()});
    }
    fs::path Journal() const { return root / "journal"; }
    bool JournalHas(const std::string& text) const {
        const auto giveUp = std::chrono::steady_clock::now() + 10s;
        while (ReadFile(Journal()).find(text) == std::string::npos) {
            if (std::chrono::steady_clock::now() > giveUp) {
                return false;
            }
            std::this_thread::sleep_for(50ms);
        }
        return true;
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

} // namespace
