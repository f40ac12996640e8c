#pragma once

#include "CommEnvironment.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

class CInverterGroup;

// The life of one port: open it, wait for the views, then one step per loop
// pass until the exit event or the group's stop request. Returns 1 when the
// group is null, a port object cannot be created or the views never came
// (said in the log), else 0.
int CommThreadProc(CInverterGroup* group, const CommEnvironment& environment);

// A running CommThreadProc whose end its owner can wait for.
class CommThread {
public:
    CommThread(CInverterGroup* group, CommEnvironment environment);
    ~CommThread(); // joins
    CommThread(const CommThread&) = delete;
    CommThread& operator=(const CommThread&) = delete;

    // True once the thread function has returned, at once or within timeout.
    bool WaitFinished(std::chrono::milliseconds timeout);
    bool Finished() const { return m_bFinished.load(); }
    int ExitCode() const { return m_nExitCode.load(); }
    void Join();

private:
    void Run(CInverterGroup* group);

    CommEnvironment m_environment;
    std::atomic<bool> m_bFinished{false};
    std::atomic<int> m_nExitCode{0};
    std::mutex m_mutex;
    std::condition_variable m_finished;
    std::thread m_thread;
};
