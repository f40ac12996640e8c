#include "ChildProcess.h"

#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {
using Clock = std::chrono::steady_clock;

int RemainingMs(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}
} // namespace

ChildProcess::ChildProcess(const std::vector<std::string>& argv) {
    int out[2];
    int err[2];
    if (pipe2(out, O_CLOEXEC) != 0 || pipe2(err, O_CLOEXEC) != 0) {
        return;
    }
    m_pid = fork();
    if (m_pid == 0) {
        // A test that aborts leaves no program or broker running behind it.
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        dup2(out[1], STDOUT_FILENO);
        dup2(err[1], STDERR_FILENO);
        std::vector<char*> args;
        for (const std::string& arg : argv) {
            args.push_back(const_cast<char*>(arg.c_str()));
        }
        args.push_back(nullptr);
        execv(args[0], args.data());
        _exit(127);
    }
    close(out[1]);
    close(err[1]);
    m_out = out[0];
    m_err = err[0];
}

ChildProcess::~ChildProcess() {
    if (m_pid > 0 && !Wait(std::chrono::milliseconds(0))) {
        kill(m_pid, SIGKILL);
        Wait(std::chrono::seconds(5));
    }
    close(m_out);
    close(m_err);
}

std::optional<std::string> ChildProcess::ReadLine(std::chrono::milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    for (;;) {
        if (const auto end = m_buffer.find('\n'); end != std::string::npos) {
            std::string line = m_buffer.substr(0, end);
            m_buffer.erase(0, end + 1);
            lines.push_back(line);
            return line;
        }
        pollfd ready{m_out, POLLIN, 0};
        if (poll(&ready, 1, RemainingMs(deadline)) <= 0) {
            return std::nullopt;
        }
        char chunk[512];
        const ssize_t count = read(m_out, chunk, sizeof chunk);
        if (count <= 0) {
            return std::nullopt;
        }
        m_buffer.append(chunk, static_cast<std::size_t>(count));
    }
}

bool ChildProcess::WaitForLine(const std::string& text, std::chrono::milliseconds timeout) {
    for (const std::string& line : lines) {
        if (line.find(text) != std::string::npos) {
            return true;
        }
    }
    const auto deadline = Clock::now() + timeout;
    while (const auto line = ReadLine(std::chrono::milliseconds(RemainingMs(deadline)))) {
        if (line->find(text) != std::string::npos) {
            return true;
        }
    }
    return false;
}

void ChildProcess::Signal(int signal) const {
    kill(m_pid, signal);
}

std::optional<int> ChildProcess::Wait(std::chrono::milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    for (;;) {
        int status = 0;
        if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
            m_pid = -1;
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        if (Clock::now() >= deadline) {
            return std::nullopt;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

std::string ChildProcess::ErrorOutput() {
    std::string text;
    char chunk[512];
    pollfd ready{m_err, POLLIN, 0};
    while (poll(&ready, 1, 100) > 0) {
        const ssize_t count = read(m_err, chunk, sizeof chunk);
        if (count <= 0) {
            break;
        }
        text.append(chunk, static_cast<std::size_t>(count));
    }
    return text;
}
