#include "HttpReceiver.h"

#include "TestBroker.h"
#include "WaitUntil.h"

#include <httplib.h>

HttpReceiver::HttpReceiver() : m_port(FreeLoopbackPort()) {}

HttpReceiver::~HttpReceiver() {
    Stop();
}

bool HttpReceiver::Start() {
    Stop();
    m_server = std::make_unique<httplib::Server>();
    m_server->Post(".*", [this](const httplib::Request& request, httplib::Response& response) {
        Request kept{request.path, request.body, {}, std::chrono::steady_clock::now()};
        for (const auto& [name, value] : request.headers) {
            kept.headers[name] = value;
        }
        std::lock_guard lock(m_mutex);
        m_requests.push_back(std::move(kept));
        response.status = m_status;
    });
    if (!m_server->bind_to_port("127.0.0.1", m_port)) {
        return false;
    }
    m_thread = std::thread([this] { m_server->listen_after_bind(); });
    return WaitUntil([this] { return m_server->is_running(); }, std::chrono::seconds(5));
}

void HttpReceiver::Stop() {
    if (m_server) {
        m_server->stop();
    }
    if (m_thread.joinable()) {
        m_thread.join();
    }
    m_server.reset();
}

std::string HttpReceiver::Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(m_port) + path;
}

std::vector<HttpReceiver::Request> HttpReceiver::Requests() const {
    std::lock_guard lock(m_mutex);
    return m_requests;
}

bool HttpReceiver::WaitFor(std::size_t count, std::chrono::milliseconds timeout) const {
    return WaitUntil([&] { return Requests().size() >= count; }, timeout);
}
