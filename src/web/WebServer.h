#pragma once

#include "PlantSnapshot.h"
#include "WebAccess.h"

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>

namespace httplib {
class Server;
}
class LiveFeed;
class PlantDayCurves;

struct WebServerConfig {
    std::string listen = "127.0.0.1";
    int port = 8080; // 0: any free port
    std::optional<Credentials> credentials;
    std::string tlsCert;
    std::string tlsKey;
    std::string faultFile;
    std::string summaryFile;
    std::string version;
    std::chrono::milliseconds liveInterval{1000};
    std::chrono::steady_clock::time_point started = std::chrono::steady_clock::now();
    std::function<BrokerStatus()> brokerStatus;  // empty: the station does not publish
    const PlantDayCurves* plantCurves = nullptr; // the plant's curves of today; none: empty
};

// Limits that keep a hostile or broken client from costing more than its own
// connection.
struct WebLimits {
    static constexpr std::size_t WORKERS = 72;
    static constexpr std::size_t WAITING = 32;
    static constexpr int LIVE_STREAMS = 60;
    static constexpr std::size_t BODY_BYTES = 4096;
    static constexpr std::size_t HEADERS = 48;
    static constexpr int IDLE_SECONDS = 5;
};

// The dashboard, its JSON API and the metrics, served read-only on threads
// of their own.
class WebServer {
public:
    WebServer(GroupVisitor groups, WebServerConfig config);
    ~WebServer();
    WebServer(const WebServer&) = delete;
    WebServer& operator=(const WebServer&) = delete;

    // Binds and starts serving; false, with the reason, when it cannot.
    bool Start(std::string* problem);
    // Ends the live streams and joins every thread.
    void Stop();
    int Port() const { return m_port; }

private:
    void AddRoutes();
    void AddApiRoutes();
    void AddHistoryRoutes();
    void AddPageRoutes();
    std::string LiveEvent() const;
    PlantSnapshot Snapshot(const SnapshotScope& scope = {}) const;

    GroupVisitor m_groups;
    WebServerConfig m_config;
    std::unique_ptr<httplib::Server> m_server;
    std::unique_ptr<LiveFeed> m_feed;
    std::thread m_listener;
    int m_port = 0;
    std::atomic<int> m_liveStreams{0};
};
