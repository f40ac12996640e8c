#include "LiveFeed.h"

#include <malloc.h>
#include <random>

namespace {
std::string RunTag() {
    std::random_device device;
    return std::to_string(device() % 1000000);
}
} // namespace

LiveFeed::LiveFeed(std::function<std::string()> makeEvent, std::chrono::milliseconds interval)
    : m_makeEvent(std::move(makeEvent)), m_interval(interval), m_run(RunTag()),
      m_thread([this] { Loop(); }) {}

LiveFeed::~LiveFeed() {
    Stop();
}

void LiveFeed::Stop() {
    std::vector<std::function<void()>> waiting;
    {
        const std::lock_guard guard(m_lock);
        m_stopping = true;
        waiting.swap(m_waiting);
    }
    m_changed.notify_all();
    for (auto& wake : waiting) {
        wake();
    }
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

void LiveFeed::Subscribe() {
    {
        const std::lock_guard guard(m_lock);
        ++m_listeners;
    }
    m_changed.notify_all();
}

// Once nobody listens no update is made, and a page that comes back needs
// only the last to tell whether it missed any. What the streams and their
// updates took goes back to the system rather than stay in the heap.
void LiveFeed::Unsubscribe() {
    {
        const std::lock_guard guard(m_lock);
        if (--m_listeners > 0 || m_events.empty()) {
            return;
        }
        m_events.erase(m_events.begin(), m_events.end() - 1);
    }
    malloc_trim(0);
}

bool LiveFeed::Since(std::uint64_t after, std::vector<Event>& events, bool& missed) {
    const std::lock_guard guard(m_lock);
    if (m_stopping) {
        return false;
    }
    missed = !m_events.empty() && m_events.front().sequence > after + 1;
    for (const Event& event : m_events) {
        if (event.sequence > after) {
            events.push_back(event);
        }
    }
    return true;
}

void LiveFeed::WhenNewer(std::uint64_t after, std::function<void()> wake) {
    {
        const std::lock_guard guard(m_lock);
        if (!m_stopping && m_sequence <= after) {
            m_waiting.push_back(std::move(wake));
            return;
        }
    }
    wake();
}

std::uint64_t LiveFeed::Latest() {
    const std::lock_guard guard(m_lock);
    return m_sequence;
}

// The wake calls run outside the lock: they resume connections, whose
// streams then read from here.
void LiveFeed::Publish(std::string json) {
    std::vector<std::function<void()>> waiting;
    {
        const std::lock_guard guard(m_lock);
        m_events.push_back({++m_sequence, std::make_shared<const std::string>(std::move(json))});
        if (m_events.size() > KEPT) {
            m_events.pop_front();
        }
        waiting.swap(m_waiting);
    }
    for (auto& wake : waiting) {
        wake();
    }
}

void LiveFeed::Loop() {
    std::unique_lock lock(m_lock);
    while (!m_stopping) {
        m_changed.wait(lock, [this] { return m_stopping || m_listeners > 0; });
        if (m_stopping) {
            break;
        }
        const auto next = std::chrono::steady_clock::now() + m_interval;
        lock.unlock();
        Publish(m_makeEvent());
        lock.lock();
        m_changed.wait_until(lock, next, [this] { return m_stopping; });
    }
}
