#include "SimServer.h"

#include "InverterFactory.h"
#include "PtyTestSupport.h"
#include "TempDirectory.h"
#include "comm/Frame.h"

#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace simtest;

namespace {

bool IsSymlink(const std::string& path) {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode);
}

class SimServerTest : public ::testing::Test {
protected:
    std::unique_ptr<sim::SimServer> MakeServer(bool paced = false) {
        sim::SimServerConfig config{directory + "/ports", directory + "/control", {}, {}};
        config.wireTime.paced = paced;
        config.buses.emplace_back(3);
        config.buses.back().AddInverter(factory.Make(sim::InverterKind::Single, 3, 1, 0));
        return std::make_unique<sim::SimServer>(std::move(config), clock, factory);
    }

    std::string Link() const { return directory + "/ports/COM3"; }

    TempDirectory temp;
    const std::string directory = temp.Path();
    sim::InverterFactory factory;
    FixedClock clock{UtcTime(2026, 6, 15, 12, 0)};
};

TEST_F(SimServerTest, InvertersAnswerThroughTheLinkedPty) {
    auto server = MakeServer();
    std::string error;
    ASSERT_TRUE(server->Start(error)) << error;
    ASSERT_TRUE(IsSymlink(Link()));
    EXPECT_EQ(std::filesystem::read_symlink(Link()).string(), server->PtyPath(3));

    for (int session = 0; session < 2; ++session) {
        const int fd = OpenStationPort(Link());
        ASSERT_GE(fd, 0) << "session " << session;
        EXPECT_EQ(Exchange(fd, WireFrame(1, 0, 0x30, 0x44)), Bytes{});
        EXPECT_EQ(Exchange(fd, WireFrame(1, 0, 0x30, 0x40)),
                  WireFrame(0, 1, 0x30, 0xBF, SerialBytes("SIM0000000003001")));
        EXPECT_EQ(
            Exchange(fd, WireFrame(1, 0, 0x30, 0x41, Concat(SerialBytes("SIM0000000003001"), {1}))),
            WireFrame(1, 1, 0x30, 0xBE, {0x06}));
        const Bytes runtime = Exchange(fd, WireFrame(1, 1, 0x31, 0x42));
        EXPECT_TRUE(CheckReplyFrame(runtime.data(), runtime.size(), 0x42, false));
        close(fd);
    }
    server->Stop();
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(Link())));
    EXPECT_FALSE(std::filesystem::exists(directory + "/control"));
}

TEST_F(SimServerTest, StationsCloseLeavesThePortFreeForTheNextOpen) {
    auto server = MakeServer();
    std::string error;
    ASSERT_TRUE(server->Start(error)) << error;
    close(OpenStationPort(Link()));
    const int observer = open(Link().c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(observer, 0);
    int exclusive = 1;
    for (int tries = 0; tries < 100 && exclusive != 0; ++tries) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        ioctl(observer, TIOCGEXCL, &exclusive);
    }
    EXPECT_EQ(exclusive, 0);
    close(observer);
}

TEST_F(SimServerTest, ControlChannelInjectsFaultsAndPullsThePort) {
    auto server = MakeServer();
    std::string error;
    ASSERT_TRUE(server->Start(error)) << error;
    ControlClient control(directory + "/control");
    const Bytes query = WireFrame(1, 0, 0x30, 0x40);

    EXPECT_EQ(control.Send("set COM3:1 silent on"), "ok silent");
    int fd = OpenStationPort(Link());
    EXPECT_EQ(Exchange(fd, query), Bytes{});
    EXPECT_EQ(control.Send("clear all"), "ok");
    EXPECT_EQ(Exchange(fd, query).size(), 27U);

    const std::string oldPty = server->PtyPath(3);
    EXPECT_EQ(control.Send("vanish COM3"), "ok");
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(Link())));
    EXPECT_EQ(write(fd, query.data(), query.size()), -1); // the adapter is gone
    close(fd);

    const std::string restored = control.Send("restore COM3");
    EXPECT_EQ(restored, "ok " + server->PtyPath(3));
    ASSERT_TRUE(IsSymlink(Link()));
    fd = OpenStationPort(Link());
    EXPECT_EQ(Exchange(fd, query).size(), 27U);
    close(fd);
    EXPECT_EQ(server->Execute("show COM3:1").rfind("ok COM3:1 addr=0", 0), 0U);
    EXPECT_FALSE(oldPty.empty());
}

// What the station hears after writing a frame, read by read, until the
// expected number of bytes is in or the line stays quiet for a second.
struct Hearing {
    std::vector<std::size_t> reads;
    std::chrono::duration<double> lastByte{};
};

Hearing Listen(int fd, const Bytes& frame, std::size_t expected) {
    Hearing hearing;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(write(fd, frame.data(), frame.size()), static_cast<ssize_t>(frame.size()));
    std::size_t total = 0;
    pollfd ready{fd, POLLIN, 0};
    while (total < expected && poll(&ready, 1, 1000) > 0) {
        std::uint8_t chunk[300];
        const ssize_t count = read(fd, chunk, sizeof chunk);
        if (count <= 0) {
            break;
        }
        total += static_cast<std::size_t>(count);
        hearing.reads.push_back(static_cast<std::size_t>(count));
        hearing.lastByte = std::chrono::steady_clock::now() - start;
    }
    return hearing;
}

TEST_F(SimServerTest, PacedRepliesTakeTheirTimeOnTheLineUnpacedOnesComeWhole) {
    const Bytes query = WireFrame(1, 0, 0x30, 0x40);
    const std::size_t replyBytes = 27;
    const double wireSeconds = static_cast<double>(query.size() + replyBytes) / 960.0 + 0.005;
    for (const bool paced : {true, false}) {
        auto server = MakeServer(paced);
        std::string error;
        ASSERT_TRUE(server->Start(error)) << error;
        const int fd = OpenStationPort(Link());
        const Hearing hearing = Listen(fd, query, replyBytes);
        close(fd);
        server->Stop();

        ASSERT_FALSE(hearing.reads.empty()) << paced;
        if (paced) {
            EXPECT_GE(hearing.lastByte.count(), 0.9 * wireSeconds);
            EXPECT_LT(hearing.lastByte.count(), 3.0 * wireSeconds);
        } else {
            EXPECT_EQ(hearing.reads.front(), replyBytes);
            EXPECT_LT(hearing.lastByte.count(), wireSeconds);
        }
    }
}

TEST_F(SimServerTest, ExistingEntriesAreRefusedUnlessTheyAreSymlinks) {
    std::filesystem::create_directories(directory + "/ports");
    std::ofstream(Link()) << "not a port";
    std::string error;
    auto server = MakeServer();
    EXPECT_FALSE(server->Open(error));
    EXPECT_NE(error.find("not a symlink"), std::string::npos) << error;
    EXPECT_FALSE(IsSymlink(Link()));

    std::filesystem::remove(Link());
    std::filesystem::create_symlink("/dev/pts/nonexistent", Link());
    server = MakeServer();
    ASSERT_TRUE(server->Open(error)) << error;
    EXPECT_EQ(std::filesystem::read_symlink(Link()).string(), server->PtyPath(3));
    server->Close();
}

} // namespace
