#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

// One thread makes the live update text once per interval while anyone
// listens; every stream waits for the next one and sends the same text. The
// streams never touch the groups, so a slow reader delays only itself.
class LiveFeed {
public:
    LiveFeed(std::function<std::string()> makeEvent, std::chrono::milliseconds interval);
    ~LiveFeed();
    LiveFeed(const LiveFeed&) = delete;
    LiveFeed& operator=(const LiveFeed&) = delete;

    void Stop();
    // Waits up to timeout for an event newer than seen; false when stopping.
    // text is empty after a timeout without one.
    bool Next(std::uint64_t& seen, std::string& text, std::chrono::milliseconds timeout);
    void Subscribe();
    void Unsubscribe();

private:
    void Run();

    std::function<std::string()> m_makeEvent;
    std::chrono::milliseconds m_interval;
    std::mutex m_lock;
    std::condition_variable m_changed;
    std::string m_text;
    std::uint64_t m_sequence = 0;
    int m_listeners = 0;
    bool m_stopping = false;
    std::thread m_thread;
};
