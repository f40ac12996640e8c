#include "ConnectionQueue.h"

namespace {
thread_local bool t_turningAway = false;
}

ConnectionQueue::ConnectionQueue(std::size_t workers, std::size_t waiting) : m_waiting(waiting) {
    for (std::size_t i = 0; i < workers; ++i) {
        m_threads.emplace_back([this] { Serve(m_connections, false); });
    }
    m_threads.emplace_back([this] { Serve(m_overflow, true); });
}

bool ConnectionQueue::TurningAway() {
    return t_turningAway;
}

void ConnectionQueue::enqueue(std::function<void()> connection) {
    {
        const std::lock_guard guard(m_lock);
        auto& queue = m_connections.size() < m_waiting ? m_connections : m_overflow;
        queue.push_back(std::move(connection));
    }
    m_ready.notify_all();
}

void ConnectionQueue::shutdown() {
    {
        const std::lock_guard guard(m_lock);
        m_stopping = true;
    }
    m_ready.notify_all();
    for (std::thread& thread : m_threads) {
        thread.join();
    }
    m_threads.clear();
}

// Connections still queued at shutdown are served too: each one closes its
// socket when it ends.
void ConnectionQueue::Serve(std::deque<std::function<void()>>& queue, bool turnAway) {
    t_turningAway = turnAway;
    for (;;) {
        std::function<void()> connection;
        {
            std::unique_lock lock(m_lock);
            m_ready.wait(lock, [&] { return m_stopping || !queue.empty(); });
            if (queue.empty()) {
                return;
            }
            connection = std::move(queue.front());
            queue.pop_front();
        }
        connection();
    }
}
