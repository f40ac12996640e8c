#include "WebServer.h"

#include "AlertRoutes.h"
#include "ApiRoutes.h"
#include "HistoryRoutes.h"
#include "HttpDaemon.h"
#include "LiveFeed.h"
#include "PageRoutes.h"
#include "RequestGate.h"
#include "WebContext.h"
#include "WebReplies.h"
#include "platform/FirstLine.h"

#include <fstream>
#include <map>
#include <sstream>

namespace {
const std::map<std::string, WebRoute*>& FixedRoutes() {
    static const std::map<std::string, WebRoute*> routes{
        {"/", PageRoute},
        {"/inverters", PageRoute},
        {"/inverter", PageRoute},
        {"/faults", PageRoute},
        {"/history", PageRoute},
        {"/api/plant", PlantRoute},
        {"/api/plant/day", PlantDayRoute},
        {"/api/inverters", InverterListRoute},
        {"/api/faults", FaultsRoute},
        {"/api/faults.csv", FaultsCsvRoute},
        {"/api/alerts", AlertsRoute},
        {"/api/history/month", MonthRoute},
        {"/api/history/year", YearRoute},
        {"/api/history.csv", HistoryCsvRoute},
        {"/api/live", LiveRoute},
        {"/metrics", MetricsRoute},
    };
    return routes;
}

// Scripts and styles only from the station itself, never inline, never in a
// frame; no address of the station leaks to links followed from it.
const std::vector<std::pair<std::string, std::string>>& SecurityHeaders() {
    static const std::vector<std::pair<std::string, std::string>> headers{
        {"X-Content-Type-Options", "nosniff"},
        {"Content-Security-Policy",
         "default-src 'none'; script-src 'self'; style-src 'self'; img-src 'self'; "
         "connect-src 'self'; base-uri 'none'; form-action 'self'; frame-ancestors 'none'"},
        {"X-Frame-Options", "DENY"},
        {"Referrer-Policy", "no-referrer"},
    };
    return headers;
}

Outcome<std::string> WholeFile(const std::string& path, const char* what) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    if (!file || text.str().empty()) {
        return Outcome<std::string>::Failure(std::string("cannot read the ") + what + " " + path);
    }
    return text.str();
}

// The certificate and key, read before the port is taken so that a
// mistake there leaves the port free.
bool LoadTls(const WebServerConfig& config, HttpDaemonConfig& daemon, std::string* problem) {
    if (config.tlsCert.empty()) {
        return true;
    }
    const auto certificate = WholeFile(config.tlsCert, "certificate");
    const auto key = certificate ? ReadSecretFile(config.tlsKey) : certificate;
    if (!certificate || !key) {
        *problem = !certificate ? certificate.Reason() : key.Reason();
        return false;
    }
    daemon.certificatePem = *certificate;
    daemon.keyPem = *key;
    return true;
}
} // namespace

WebServer::WebServer(GroupVisitor groups, WebServerConfig config)
    : m_context(std::make_unique<WebContext>(std::move(groups), std::move(config))) {}

WebServer::~WebServer() {
    Stop();
}

bool WebServer::Start(std::string* problem) {
    const WebServerConfig& config = m_context->Config();
    HttpDaemonConfig daemonConfig;
    daemonConfig.commonHeaders = SecurityHeaders();
    if (!LoadTls(config, daemonConfig, problem)) {
        return false;
    }
    auto socket = ListenSocket::Open(config.listen, config.port);
    if (!socket) {
        *problem = socket.Reason();
        return false;
    }
    m_port = socket->Port();
    m_gate = std::make_unique<RequestGate>(
        GateRules{config.credentials, AllowedHosts(config.listen, config.allowedHosts)});
    m_feed = std::make_unique<LiveFeed>([this] { return m_context->NextLiveEvent(); },
                                        config.liveInterval);
    m_context->feed = m_feed.get();
    m_daemon = std::make_unique<HttpDaemon>(
        [this](const HttpRequest& request) { return Handle(request); }, daemonConfig);
    if (!m_daemon->Start(std::move(*socket), problem)) {
        Stop();
        return false;
    }
    return true;
}

// The feed goes first: its end wakes every stream, which then ends, so no
// connection is left asleep when the daemon stops.
void WebServer::Stop() {
    if (m_feed) {
        m_feed->Stop();
    }
    m_daemon.reset();
    m_context->feed = nullptr;
    m_feed.reset();
}

HttpResponse WebServer::Handle(const HttpRequest& request) {
    if (auto refusal = m_gate->Refusal(request)) {
        return std::move(*refusal);
    }
    return Route(request, RequestTarget(request.target));
}

// Inverter routes are matched on the path as sent, so that any serial number,
// "/" included, reaches its own route.
HttpResponse WebServer::Route(const HttpRequest& request, const RequestTarget& target) {
    const auto fixed = FixedRoutes().find(target.Path());
    if (fixed != FixedRoutes().end()) {
        return fixed->second(*m_context, request, target);
    }
    const std::vector<std::string>& segments = target.Segments();
    if (segments.size() >= 3 && segments[0] == "api" && segments[1] == "inverters") {
        if (segments.size() == 3) {
            return InverterRoute(*m_context, request, target);
        }
        if (segments.size() == 4 && segments[3] == "day") {
            return InverterDayRoute(*m_context, request, target);
        }
    }
    if (!segments.empty() && segments[0] == "assets") {
        return AssetRoute(*m_context, request, target);
    }
    return ErrorReply(404, "no such page");
}
