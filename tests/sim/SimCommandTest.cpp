#include "PtyTestSupport.h"
#include "TempDirectory.h"

#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace simtest;

namespace {

// The command as a child with its standard output on a pipe.
class SimProcess {
public:
    explicit SimProcess(const std::vector<std::string>& args) {
        int out[2];
        if (pipe(out) != 0) {
            return;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
        std::vector<std::string> all{SIM_COMMAND};
        all.insert(all.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (std::string& arg : all) {
            argv.push_back(arg.data());
        }
        argv.push_back(nullptr);
        posix_spawn(&m_pid, SIM_COMMAND, &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        close(out[1]);
        m_output = fdopen(out[0], "r");
    }

    ~SimProcess() {
        if (m_pid > 0) {
            kill(m_pid, SIGKILL);
            Wait();
        }
        if (m_output != nullptr) {
            fclose(m_output);
        }
    }

    // Lines of standard output up to and including the one given.
    std::vector<std::string> ReadUntil(const std::string& last) {
        std::vector<std::string> lines;
        char line[512];
        while (m_output != nullptr && fgets(line, sizeof line, m_output) != nullptr) {
            lines.emplace_back(line, strcspn(line, "\n"));
            if (lines.back() == last) {
                break;
            }
        }
        return lines;
    }

    void Signal(int signal) const { kill(m_pid, signal); }

    int Wait() {
        int status = 0;
        waitpid(m_pid, &status, 0);
        m_pid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    pid_t m_pid = -1;
    FILE* m_output = nullptr;
};

TEST(SimCommandTest, AnnouncesItsPortsAndCleansUpOnTerminate) {
    const TempDirectory temp;
    const std::string& directory = temp.Path();
    const std::string ports = directory + "/ports";
    SimProcess sim({"--port-dir", ports, "--bus", "COM5:single*2", "--bus", "COM6:three",
                    "--control", directory + "/control", "--exec", "set COM5:2 nak on"});
    const std::vector<std::string> lines = sim.ReadUntil("ready");
    ASSERT_EQ(lines.size(), 4U);
    EXPECT_EQ(lines[0].rfind("bus COM5 link " + ports + "/COM5 pty /dev/pts/", 0), 0U);
    EXPECT_EQ(lines[1].rfind("bus COM6 link " + ports + "/COM6 pty /dev/pts/", 0), 0U);
    EXPECT_EQ(lines[2], "control " + directory + "/control");

    ControlClient control(directory + "/control");
    EXPECT_NE(control.Send("show COM5:2").find("faults=nak"), std::string::npos);
    const int fd = OpenStationPort(ports + "/COM6");
    EXPECT_EQ(Exchange(fd, WireFrame(1, 0, 0x30, 0x40)),
              WireFrame(0, 1, 0x30, 0xBF, SerialBytes("SIM0000000006001")));
    close(fd);

    sim.Signal(SIGTERM);
    EXPECT_EQ(sim.Wait(), 0);
    EXPECT_TRUE(std::filesystem::is_empty(ports));
}

TEST(SimCommandTest, UnknownOptionExitsWithTwo) {
    SimProcess sim({"--bus", "COM5:single", "--frobnicate"});
    EXPECT_EQ(sim.Wait(), 2);
}

} // namespace
