#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// One thread makes the live update once per interval while anyone listens
// and keeps the last few, numbered; every stream sends each one it has not
// sent yet. The streams never touch the groups, so a slow reader delays only
// itself.
class LiveFeed {
public:
    static constexpr std::size_t KEPT = 30;

    struct Event {
        std::uint64_t sequence = 0;
        std::shared_ptr<const std::string> json;
    };

    LiveFeed(std::function<std::string()> makeEvent, std::chrono::milliseconds interval);
    ~LiveFeed();
    LiveFeed(const LiveFeed&) = delete;
    LiveFeed& operator=(const LiveFeed&) = delete;

    void Stop();
    void Subscribe();
    void Unsubscribe();
    // The events after sequence `after`, oldest first; missed is set when some
    // of them are no longer kept. False once stopped.
    bool Since(std::uint64_t after, std::vector<Event>& events, bool& missed);
    // Calls wake once an event after `after` exists or the feed stops: at
    // once when that is so already.
    void WhenNewer(std::uint64_t after, std::function<void()> wake);
    std::uint64_t Latest();
    // Tells this run's event numbers from another's, so that a page
    // reconnecting to a restarted station knows it missed events.
    const std::string& Run() const { return m_run; }

private:
    void Loop();
    void Publish(std::string json);

    std::function<std::string()> m_makeEvent;
    std::chrono::milliseconds m_interval;
    std::string m_run;
    std::mutex m_lock;
    std::condition_variable m_changed;
    std::deque<Event> m_events;
    std::uint64_t m_sequence = 0;
    std::vector<std::function<void()>> m_waiting;
    int m_listeners = 0;
    bool m_stopping = false;
    std::thread m_thread;
};
