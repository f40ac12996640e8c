#pragma once

#include "ConnectionGuard.h"
#include "HttpMessage.h"
#include "ListenSocket.h"

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

struct MHD_Daemon;
struct MHD_Connection;

struct HttpDaemonConfig {
    std::string certificatePem; // both empty: plain HTTP
    std::string keyPem;
    ConnectionLimits limits;
    // Beyond this the library itself closes new connections unanswered: a
    // bound on descriptors and memory, well above limits.total.
    unsigned int hardConnectionLimit = 512;
    unsigned int idleSeconds = 5;
    unsigned int threads = 2;
    // Headers every answer carries, turn-aways and errors included.
    std::vector<std::pair<std::string, std::string>> commonHeaders;
};

// An HTTP server on one event loop per thread: a waiting connection costs a
// few kilobytes and no thread. The handler runs on those threads and must
// not block; what must wait (a stream, a late answer) is suspended instead.
class HttpDaemon {
public:
    using Handler = std::function<HttpResponse(const HttpRequest&)>;

    HttpDaemon(Handler handler, HttpDaemonConfig config);
    ~HttpDaemon();
    HttpDaemon(const HttpDaemon&) = delete;
    HttpDaemon& operator=(const HttpDaemon&) = delete;

    // Serves on socket; false, with the library's reason, when it cannot.
    bool Start(ListenSocket socket, std::string* problem);
    // Streams must have ended (or been told to) before.
    void Stop();

    // The library's entry points.
    struct Glue;

private:
    Handler m_handler;
    HttpDaemonConfig m_config;
    ConnectionGuard m_guard;
    MHD_Daemon* m_daemon = nullptr;
    std::atomic<bool> m_starting{false};
    std::mutex m_startLogLock;
    std::string m_startLog; // what the library said while starting
};
