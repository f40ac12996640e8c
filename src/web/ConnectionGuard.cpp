#include "ConnectionGuard.h"

#include <algorithm>
#include <sys/socket.h>

ConnectionGuard::ConnectionGuard(ConnectionLimits limits)
    : m_limits(limits), m_thread([this] { Run(); }) {}

ConnectionGuard::~ConnectionGuard() {
    Stop();
}

bool ConnectionGuard::Opened(const void* connection, int fd, const std::string& client) {
    const std::lock_guard guard(m_lock);
    const std::size_t ofClient = ++m_perClient[client];
    m_connections[connection] = {fd, client, Clock::now() + m_limits.headerDeadline};
    m_changed.notify_all();
    return ofClient <= m_limits.perClient && m_connections.size() <= m_limits.total;
}

void ConnectionGuard::Closed(const void* connection) {
    const std::lock_guard guard(m_lock);
    const auto found = m_connections.find(connection);
    if (found == m_connections.end()) {
        return;
    }
    const auto client = m_perClient.find(found->second.client);
    if (client != m_perClient.end() && --client->second == 0) {
        m_perClient.erase(client);
    }
    m_connections.erase(found);
}

void ConnectionGuard::RequestArrived(const void* connection, bool stream) {
    SetDeadline(connection,
                stream ? std::nullopt : std::optional(Clock::now() + m_limits.answerDeadline));
}

void ConnectionGuard::AnswerSent(const void* connection) {
    SetDeadline(connection, Clock::now() + m_limits.headerDeadline);
}

void ConnectionGuard::SetDeadline(const void* connection,
                                  std::optional<Clock::time_point> deadline) {
    const std::lock_guard guard(m_lock);
    const auto found = m_connections.find(connection);
    if (found != m_connections.end()) {
        found->second.deadline = deadline;
        m_changed.notify_all();
    }
}

bool ConnectionGuard::After(std::chrono::milliseconds delay, std::function<void()> action) {
    const std::lock_guard guard(m_lock);
    if (m_stopping) {
        return false;
    }
    m_timers.push_back({Clock::now() + delay, std::move(action)});
    m_changed.notify_all();
    return true;
}

void ConnectionGuard::Stop() {
    {
        const std::lock_guard guard(m_lock);
        m_stopping = true;
    }
    m_changed.notify_all();
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

// The socket is shut down, not closed: the server still owns the descriptor
// and closes it when it sees the end. Closing (and so the descriptor's reuse)
// happens only after Closed, which waits for this lock.
void ConnectionGuard::CutOffLate(Clock::time_point now) {
    for (auto& [connection, entry] : m_connections) {
        if (entry.deadline && *entry.deadline <= now) {
            ::shutdown(entry.fd, SHUT_RDWR);
            entry.deadline.reset();
        }
    }
}

std::vector<std::function<void()>> ConnectionGuard::TakeDue(Clock::time_point now, bool all) {
    std::vector<std::function<void()>> due;
    const auto firstLater =
        std::partition(m_timers.begin(), m_timers.end(),
                       [&](const Timer& timer) { return all || timer.due <= now; });
    for (auto timer = m_timers.begin(); timer != firstLater; ++timer) {
        due.push_back(std::move(timer->action));
    }
    m_timers.erase(m_timers.begin(), firstLater);
    return due;
}

ConnectionGuard::Clock::time_point ConnectionGuard::NextWake() const {
    Clock::time_point next = Clock::time_point::max();
    for (const auto& [connection, entry] : m_connections) {
        if (entry.deadline) {
            next = std::min(next, *entry.deadline);
        }
    }
    for (const Timer& timer : m_timers) {
        next = std::min(next, timer.due);
    }
    return next;
}

// Actions run without the lock: they call into the server, which may call
// back here.
void ConnectionGuard::Run() {
    std::unique_lock lock(m_lock);
    for (;;) {
        const Clock::time_point now = Clock::now();
        CutOffLate(now);
        std::vector<std::function<void()>> due = TakeDue(now, m_stopping);
        if (!due.empty()) {
            lock.unlock();
            for (auto& action : due) {
                action();
            }
            lock.lock();
            continue;
        }
        if (m_stopping) {
            return;
        }
        const Clock::time_point next = NextWake();
        if (next == Clock::time_point::max()) {
            m_changed.wait(lock);
        } else {
            m_changed.wait_until(lock, next);
        }
    }
}
