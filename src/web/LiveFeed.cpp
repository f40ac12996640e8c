#include "LiveFeed.h"

LiveFeed::LiveFeed(std::function<std::string()> makeEvent, std::chrono::milliseconds interval)
    : m_makeEvent(std::move(makeEvent)), m_interval(interval), m_thread([this] { Run(); }) {}

LiveFeed::~LiveFeed() {
    Stop();
}

void LiveFeed::Stop() {
    {
        const std::lock_guard guard(m_lock);
        m_stopping = true;
    }
    m_changed.notify_all();
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

void LiveFeed::Unsubscribe() {
    const std::lock_guard guard(m_lock);
    --m_listeners;
}

bool LiveFeed::Next(std::uint64_t& seen, std::string& text, std::chrono::milliseconds timeout) {
    std::unique_lock lock(m_lock);
    m_changed.wait_for(lock, timeout, [&] { return m_stopping || m_sequence > seen; });
    if (m_stopping) {
        return false;
    }
    if (m_sequence > seen) {
        seen = m_sequence;
        text = m_text;
    } else {
        text.clear();
    }
    return true;
}

void LiveFeed::Run() {
    std::unique_lock lock(m_lock);
    while (!m_stopping) {
        m_changed.wait(lock, [this] { return m_stopping || m_listeners > 0; });
        if (m_stopping) {
            break;
        }
        lock.unlock();
        std::string text = m_makeEvent();
        lock.lock();
        m_text = std::move(text);
        ++m_sequence;
        m_changed.notify_all();
        m_changed.wait_for(lock, m_interval, [this] { return m_stopping; });
    }
}
