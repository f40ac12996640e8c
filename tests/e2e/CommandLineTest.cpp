#include "ChildProcess.h"
#include "HeliowatchVersion.h"
#include "PtyPair.h"
#include "TempDirectory.h"

#include <algorithm>
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

struct Finished {
    std::optional<int> status;
    std::vector<std::string> out;
    std::string err;
};

Finished RunToEnd(const std::vector<std::string>& argv) {
    ChildProcess child(argv);
    Finished finished;
    finished.status = child.Wait(10s);
    while (child.ReadLine(100ms)) {
    }
    finished.out = child.lines;
    finished.err = child.ErrorOutput();
    return finished;
}

bool Contains(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

class CommandLineTest : public ::testing::Test {
protected:
    void SetUp() override { fs::create_directories(ports); }

    TempDirectory directory;
    const fs::path root = fs::canonical(directory.Path());
    const fs::path ports = root / "ports";
};

TEST_F(CommandLineTest, VersionIsTheProjectVersion) {
    for (const std::string program : {"heliowatch", "heliowatch-sim"}) {
        const Finished finished = RunToEnd({kBin + "/" + program, "--version"});
        EXPECT_EQ(finished.status, 0);
        EXPECT_EQ(finished.out, std::vector<std::string>{program + " " + HELIOWATCH_VERSION});
    }
}

TEST_F(CommandLineTest, WhatIsNotUnderstoodIsRefusedWithTheUsage) {
    struct Refused {
        std::vector<std::string> args;
        int status;
    };
    const std::vector<Refused> refused{
        {{"heliowatch", "--frobnicate"}, 1},
        {{"heliowatch", "-x"}, 1},
        {{"heliowatch", "stray"}, 1},
        {{"heliowatch", "--check", "--config"}, 1},
        {{"heliowatch-sim", "--bus", "COM1:single", "--frobnicate"}, 2},
    };
    for (const auto& [args, status] : refused) {
        std::vector<std::string> argv{kBin + "/" + args[0]};
        argv.insert(argv.end(), args.begin() + 1, args.end());
        const Finished finished = RunToEnd(argv);
        EXPECT_EQ(finished.status, status) << args.back();
        EXPECT_NE(finished.err.find("Usage: " + args[0]), std::string::npos) << finished.err;
        EXPECT_TRUE(finished.out.empty());
    }
}

TEST_F(CommandLineTest, CheckOpensEachEnabledPortOnce) {
    PtyPair pty;
    ASSERT_TRUE(pty.LinkAs(ports.string(), 3));
    fs::create_symlink(root / "unplugged", ports / "COM4");
    const fs::path both = root / "both.ini";
    const fs::path good = root / "good.ini";
    std::ofstream(both) << "[Com3]\nEnable=1\n[Com4]\nEnable=1\n";
    std::ofstream(good) << "[Com3]\nEnable=1\n";
    const std::string ok = "COM3 " + pty.SlavePath() + " ok";
    const std::string failed =
        "COM4 " + (root / "unplugged").string() + " failed: No such file or directory";

    struct CheckCase {
        std::vector<std::string> args;
        int status;
        std::vector<std::string> out;
    };
    const std::vector<CheckCase> cases{
        {{"--config=" + both.string(), "--port-dir=" + ports.string()}, 1, {ok, failed}},
        {{"--config", both.string(), "--port-dir", ports.string()}, 1, {ok, failed}},
        {{"--config", good.string(), "--port-dir", ports.string()}, 0, {ok}},
    };
    for (const CheckCase& check : cases) {
        std::vector<std::string> argv{kBin + "/heliowatch", "--check"};
        argv.insert(argv.end(), check.args.begin(), check.args.end());
        const Finished finished = RunToEnd(argv);
        EXPECT_EQ(finished.status, check.status) << finished.err;
        EXPECT_EQ(finished.out, check.out);
    }
}

// A port the station's user may not open is the most common service failure;
// the reason must say what to do about it.
TEST_F(CommandLineTest, CheckTellsAnUnprivilegedUserWhyThePortCannotBeOpened) {
    if (geteuid() != 0) {
        GTEST_SKIP() << "needs root to run the check as another user";
    }
    PtyPair pty;
    ASSERT_TRUE(pty.LinkAs(ports.string(), 3));
    const fs::path settings = root / "port.ini";
    std::ofstream(settings) << "[Com3]\nEnable=1\n";
    fs::permissions(root, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                              fs::perms::others_read | fs::perms::others_exec);
    fs::permissions(pty.SlavePath(), fs::perms::owner_read | fs::perms::owner_write);
    const Finished finished =
        RunToEnd({"/usr/bin/setpriv", "--reuid=65534", "--regid=65534", "--clear-groups",
                  kBin + "/heliowatch", "--check", "--config", settings.string(), "--port-dir",
                  ports.string()});
    EXPECT_EQ(finished.status, 1) << finished.err;
    EXPECT_EQ(finished.out,
              std::vector<std::string>{"COM3 " + pty.SlavePath() +
                                       " failed: Permission denied: add the user to the dialout "
                                       "group"});
}

TEST_F(CommandLineTest, ListPortsTellsWhereEachEntryLeads) {
    PtyPair direct;
    PtyPair behindStableName;
    ASSERT_TRUE(direct.LinkAs(ports.string(), 1));
    std::ofstream(ports / "COM2") << "a regular file\n";
    fs::create_symlink(root / "gone/ttyUSB9", ports / "COM3");
    const fs::path stable = root / "by-id/usb-Acme_Widget_A1-if00-port0";
    fs::create_directories(stable.parent_path());
    fs::create_symlink(behindStableName.SlavePath(), stable);
    fs::create_symlink(stable, ports / "COM4");

    const Finished finished =
        RunToEnd({kBin + "/heliowatch", "--list-ports", "--port-dir", ports.string()});
    EXPECT_EQ(finished.status, 0);
    for (const std::string& line :
         {"COM1 " + direct.SlavePath(), "COM2 " + (ports / "COM2").string() + " not-a-device",
          "COM3 " + (root / "gone/ttyUSB9").string() + " missing",
          "COM4 " + behindStableName.SlavePath()}) {
        EXPECT_TRUE(Contains(finished.out, line)) << line;
    }
}

TEST_F(CommandLineTest, NothingIsWrittenBesideTheProgram) {
    const fs::path program = root / "bin/heliowatch";
    fs::create_directories(program.parent_path());
    fs::copy_file(kBin + "/heliowatch", program);
    const fs::path histLog = root / "data/heliowatch/HistLog";

    ChildProcess station({"/usr/bin/env", "-u", "HELIOWATCH_DATA_DIR", "-u", "STATE_DIRECTORY",
                          "-u", "CONFIGURATION_DIRECTORY", "-u", "HELIOWATCH_PORT_DIR",
                          "XDG_DATA_HOME=" + (root / "data").string(),
                          "XDG_CONFIG_HOME=" + (root / "config").string(), program.string(),
                          "--headless"});
    for (int i = 0; i < 100 && !fs::exists(histLog); ++i) {
        std::this_thread::sleep_for(50ms);
    }
    EXPECT_TRUE(fs::exists(histLog));
    station.Signal(SIGTERM);
    EXPECT_EQ(station.Wait(5s), 0) << station.ErrorOutput();
    EXPECT_EQ(std::distance(fs::directory_iterator(program.parent_path()), {}), 1);
}

} // namespace
