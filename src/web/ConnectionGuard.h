#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

// What one client, or all of them, may hold of the server, and how long a
// request may take to arrive.
struct ConnectionLimits {
    std::size_t perClient = 32;
    std::size_t total = 256;
    // From the connection's start, or the end of its last answer, to the end
    // of the request's headers: a client sending a byte now and then does not
    // renew it.
    std::chrono::milliseconds headerDeadline{5000};
    // From the request to the end of its answer, streams excepted.
    std::chrono::milliseconds answerDeadline{60000};
};

// Keeps the book of open connections: counts them per client, and cuts off
// (shuts down) those that miss their deadline. Its one thread also runs
// actions that must wait, such as answering a wrong password late.
class ConnectionGuard {
public:
    using Clock = std::chrono::steady_clock;

    explicit ConnectionGuard(ConnectionLimits limits);
    ~ConnectionGuard();
    ConnectionGuard(const ConnectionGuard&) = delete;
    ConnectionGuard& operator=(const ConnectionGuard&) = delete;

    // A new connection on socket fd; false when it is beyond a cap and is to
    // be turned away.
    bool Opened(const void* connection, int fd, const std::string& client);
    void Closed(const void* connection);
    // The request's headers are in: the answer's deadline starts, or none for
    // a stream.
    void RequestArrived(const void* connection, bool stream);
    // The answer is sent: the next request's headers are due.
    void AnswerSent(const void* connection);
    // Runs action after delay on the guard's thread; false (and never runs it)
    // once stopping.
    bool After(std::chrono::milliseconds delay, std::function<void()> action);
    // Runs every waiting action at once and ends the thread.
    void Stop();

private:
    struct Entry {
        int fd = -1;
        std::string client;
        std::optional<Clock::time_point> deadline;
    };
    struct Timer {
        Clock::time_point due;
        std::function<void()> action;
    };

    void Run();
    void CutOffLate(Clock::time_point now);
    std::vector<std::function<void()>> TakeDue(Clock::time_point now, bool all);
    Clock::time_point NextWake() const;
    void SetDeadline(const void* connection, std::optional<Clock::time_point> deadline);

    ConnectionLimits m_limits;
    std::mutex m_lock;
    std::condition_variable m_changed;
    std::map<const void*, Entry> m_connections;
    std::map<std::string, std::size_t> m_perClient;
    std::vector<Timer> m_timers;
    bool m_stopping = false;
    std::thread m_thread;
};
