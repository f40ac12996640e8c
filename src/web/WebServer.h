#pragma once

#include "PlantSnapshot.h"
#include "WebServerConfig.h"

#include <memory>
#include <string>

class HttpDaemon;
class LiveFeed;
class RequestGate;
class WebContext;
struct HttpRequest;
struct HttpResponse;
class RequestTarget;

// The dashboard, its JSON API and the metrics, served read-only.
class WebServer {
public:
    WebServer(GroupVisitor groups, WebServerConfig config);
    ~WebServer();
    WebServer(const WebServer&) = delete;
    WebServer& operator=(const WebServer&) = delete;

    // Binds (exclusively) and starts serving; false, with the reason, when it
    // cannot.
    bool Start(std::string* problem);
    // Ends the live streams, then every connection.
    void Stop();
    int Port() const { return m_port; }

private:
    HttpResponse Handle(const HttpRequest& request);
    HttpResponse Route(const HttpRequest& request, const RequestTarget& target);

    std::unique_ptr<WebContext> m_context;
    std::unique_ptr<RequestGate> m_gate;
    std::unique_ptr<LiveFeed> m_feed;
    std::unique_ptr<HttpDaemon> m_daemon;
    int m_port = 0;
};
