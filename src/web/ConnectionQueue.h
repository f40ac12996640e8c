#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <httplib.h>
#include <mutex>
#include <thread>
#include <vector>

// The server's connections: a fixed set of workers, each serving one
// connection at a time, and a bounded wait for a free worker. Connections
// beyond that go to one thread that only answers that the server is busy.
class ConnectionQueue : public httplib::TaskQueue {
public:
    ConnectionQueue(std::size_t workers, std::size_t waiting);

    void enqueue(std::function<void()> connection) override;
    void shutdown() override;

    // True on the thread that turns connections away.
    static bool TurningAway();

private:
    void Serve(std::deque<std::function<void()>>& queue, bool turnAway);

    std::size_t m_waiting;
    std::mutex m_lock;
    std::condition_variable m_ready;
    std::deque<std::function<void()>> m_connections;
    std::deque<std::function<void()>> m_overflow;
    bool m_stopping = false;
    std::vector<std::thread> m_threads;
};
