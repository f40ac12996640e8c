#include "ChildProcess.h"
#include "TempDirectory.h"

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <mutex>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

const std::string kBin = HELIOWATCH_BIN_DIR;

// systemd's end of the notification socket. It reads all the time, as the
// service manager does: a sender blocks once a few datagrams are queued.
class NotifySocket {
public:
    explicit NotifySocket(const std::string& path) {
        m_fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path.c_str());
        bind(m_fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
        m_reader = std::thread([this] { Read(); });
    }
    ~NotifySocket() {
        m_stop = true;
        m_reader.join();
        close(m_fd);
    }
    NotifySocket(const NotifySocket&) = delete;
    NotifySocket& operator=(const NotifySocket&) = delete;

    std::vector<std::string> Messages() const {
        std::lock_guard lock(m_lock);
        return m_messages;
    }
    long Count(const std::string& message) const {
        const std::vector<std::string> messages = Messages();
        return std::count(messages.begin(), messages.end(), message);
    }

private:
    void Read() {
        while (!m_stop) {
            pollfd ready{m_fd, POLLIN, 0};
            char message[256];
            if (poll(&ready, 1, 50) > 0) {
                const ssize_t size = recv(m_fd, message, sizeof message, 0);
                std::lock_guard lock(m_lock);
                m_messages.emplace_back(message, size > 0 ? static_cast<std::size_t>(size) : 0);
            }
        }
    }

    int m_fd = -1;
    std::atomic<bool> m_stop{false};
    mutable std::mutex m_lock;
    std::vector<std::string> m_messages;
    std::thread m_reader;
};

TEST(ServiceNotifyTest, ReadyAfterStartAndWatchdogPingsWhileBusesArePolled) {
    TempDirectory directory;
    const fs::path root = directory.Path();
    const fs::path config = root / "Heliowatch.ini";
    std::ofstream(config) << "[Com3]\nEnable=1\n[Interval]\nInterval=1\n";
    ChildProcess sim({kBin + "/heliowatch-sim", "--port-dir", (root / "ports").string(), "--bus",
                      "COM3:single*1", "--serial", "COM3:1=SINGLE0000000001"});
    ASSERT_TRUE(sim.WaitForLine("ready", 10s)) << sim.ErrorOutput();
    const NotifySocket notifications((root / "notify").string());

    ChildProcess station(
        {"/usr/bin/env", "-u", "WATCHDOG_PID", "NOTIFY_SOCKET=" + (root / "notify").string(),
         "WATCHDOG_USEC=1000000", kBin + "/heliowatch", "--headless", "--config", config.string(),
         "--port-dir", (root / "ports").string(), "--data-dir", (root / "data").string()});
    ASSERT_TRUE(station.WaitForLine("port-opened", 10s)) << station.ErrorOutput();
    std::this_thread::sleep_for(100ms);
    ASSERT_FALSE(notifications.Messages().empty());
    EXPECT_EQ(notifications.Messages().front(), "READY=1");
    ASSERT_TRUE(station.WaitForLine("SINGLE0000000001 online", 20s)) << station.ErrorOutput();
    const long pingsBefore = notifications.Count("WATCHDOG=1");
    std::this_thread::sleep_for(2500ms);
    // One is due every half period while the port's thread steps; a loaded
    // machine may lose one, but never so many that a period goes without.
    EXPECT_GE(notifications.Count("WATCHDOG=1") - pingsBefore, 3);
    const std::vector<std::string> messages = notifications.Messages();
    EXPECT_NE(std::find_if(messages.begin(), messages.end(),
                           [](const std::string& message) {
                               return message.rfind("STATUS=1 of 1 reporting, 0 faults, ", 0) == 0;
                           }),
              messages.end());

    station.Signal(SIGTERM);
    EXPECT_EQ(station.Wait(5s), 0);
    EXPECT_EQ(notifications.Messages().back(), "STOPPING=1");
    sim.Signal(SIGTERM);
    EXPECT_EQ(sim.Wait(5s), 0);
}

TEST(ServiceNotifyTest, AnUnusableDataDirectoryIsNeverReady) {
    TempDirectory directory;
    const fs::path root = directory.Path();
    std::ofstream(root / "Heliowatch.ini") << "[Com3]\nEnable=1\n";
    std::ofstream(root / "file") << "not a folder";
    const NotifySocket notifications((root / "notify").string());

    ChildProcess station({"/usr/bin/env", "NOTIFY_SOCKET=" + (root / "notify").string(),
                          kBin + "/heliowatch", "--headless", "--config",
                          (root / "Heliowatch.ini").string(), "--port-dir",
                          (root / "ports").string(), "--data-dir", (root / "file/data").string()});
    EXPECT_EQ(station.Wait(5s), 2);
    EXPECT_NE(station.ErrorOutput().find("cannot create the data directory: " +
                                         (root / "file").string() + ": Not a directory"),
              std::string::npos)
        << station.ErrorOutput();
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(notifications.Count("READY=1"), 0);
}

} // namespace
