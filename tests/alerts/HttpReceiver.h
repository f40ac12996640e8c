#pragma once

#include <atomic>
#include <chrono>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace httplib {
class Server;
}

// An HTTP server of the test's own on a loopback port, keeping every POST;
// it can be stopped and started again on the same port.
class HttpReceiver {
public:
    struct Request {
        std::string path;
        std::string body;
        std::map<std::string, std::string> headers; // the names as sent
        std::chrono::steady_clock::time_point received;
    };

    HttpReceiver();
    ~HttpReceiver();
    HttpReceiver(const HttpReceiver&) = delete;
    HttpReceiver& operator=(const HttpReceiver&) = delete;

    // False when it does not listen within a few seconds.
    bool Start();
    void Stop();
    std::string Url(const std::string& path) const;
    std::vector<Request> Requests() const;
    // Waits up to timeout for at least count requests.
    bool WaitFor(std::size_t count, std::chrono::milliseconds timeout) const;
    // The status it answers with.
    void AnswerWith(int status) { m_status = status; }

private:
    int m_port;
    std::atomic<int> m_status{200};
    std::unique_ptr<httplib::Server> m_server;
    std::thread m_thread;
    mutable std::mutex m_mutex;
    std::vector<Request> m_requests;
};
