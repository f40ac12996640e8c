#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

// A program run by a test, its standard output and error read line by line.
class ChildProcess {
public:
    explicit ChildProcess(const std::vector<std::string>& argv);
    ~ChildProcess(); // kills and reaps a child still running
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // The next line of standard output, or nothing when none came in time.
    std::optional<std::string> ReadLine(std::chrono::milliseconds timeout);
    // Whether a line read so far, or one read within timeout, contains text.
    bool WaitForLine(const std::string& text, std::chrono::milliseconds timeout);
    void Signal(int signal) const;
    pid_t Pid() const { return m_pid; }
    // The exit status, or nothing when the child did not end in time.
    std::optional<int> Wait(std::chrono::milliseconds timeout);
    std::string ErrorOutput();

    std::vector<std::string> lines;

private:
    pid_t m_pid = -1;
    int m_out = -1;
    int m_err = -1;
    std::string m_buffer;
};
