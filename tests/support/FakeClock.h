#pragma once

#include "platform/Clock.h"

#include <atomic>
#include <cstdint>
#include <functional>

// Virtual time: sleeping and waiting advance it at once. onWait runs at every
// event wait, so a test can act at chosen moments (set the exit event, raise
// a request) while the communication thread runs on the test's own thread.
class FakeClock : public Clock {
public:
    explicit FakeClock(std::time_t start);

    std::time_t Now() override;
    void Sleep(std::chrono::milliseconds duration) override;
    bool WaitForEvent(const ManualResetEvent& event, std::chrono::milliseconds timeout) override;

    void Advance(std::chrono::milliseconds duration);
    std::int64_t NowMs() const { return m_nowMs.load(); }
    std::int64_t ElapsedMs() const { return m_nowMs.load() - m_startMs; }

    std::function<void(FakeClock&)> onWait;
    int sleeps = 0;

private:
    std::int64_t m_startMs;
    std::atomic<std::int64_t> m_nowMs;
};
