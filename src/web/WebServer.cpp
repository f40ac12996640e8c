#include "WebServer.h"

#include "ConnectionQueue.h"
#include "DayCurves.h"
#include "LiveFeed.h"
#include "MetricsText.h"
#include "PeriodBars.h"
#include "PlantJson.h"
#include "WebPage.h"
#include "platform/SystemError.h"
#include "store/FaultRecordReader.h"
#include "store/FaultRowText.h"

#include <QString>
#include <cstdlib>
#include <cstring>
#include <httplib.h>

namespace {
using httplib::Request;
using httplib::Response;
using namespace std::chrono_literals;

constexpr auto KEEP_ALIVE_COMMENT_EVERY = 15s;
const char* const JSON = "application/json";

void SendJson(Response& response, const std::string& text) {
    response.set_header("Cache-Control", "no-store");
    response.set_content(text, JSON);
}

void SendError(Response& response, int status, const std::string& reason) {
    response.status = status;
    SendJson(response, JsonText(QJsonObject{{"error", QString::fromStdString(reason)}}));
}

// Paths arrive decoded as UTF-8; the station keeps serial numbers as Latin-1.
std::string SerialOfPath(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()))
        .toLatin1()
        .toStdString();
}

std::string SerialOfQuery(const Request& request) {
    return request.has_param("serial") ? SerialOfPath(request.get_param_value("serial")) : "";
}

std::unique_ptr<httplib::Server> MakeServer(const WebServerConfig& config) {
    if (config.tlsCert.empty()) {
        return std::make_unique<httplib::Server>();
    }
    return std::make_unique<httplib::SSLServer>(config.tlsCert.c_str(), config.tlsKey.c_str());
}
} // namespace

WebServer::WebServer(GroupVisitor groups, WebServerConfig config)
    : m_groups(std::move(groups)), m_config(std::move(config)) {}

WebServer::~WebServer() {
    Stop();
}

bool WebServer::Start(std::string* problem) {
    m_server = MakeServer(m_config);
    if (!m_server->is_valid()) {
        *problem =
            "cannot load the certificate " + m_config.tlsCert + " or its key " + m_config.tlsKey;
        m_server.reset();
        return false;
    }
    m_server->new_task_queue = [] {
        return new ConnectionQueue(WebLimits::WORKERS, WebLimits::WAITING);
    };
    m_server->set_payload_max_length(WebLimits::BODY_BYTES);
    m_server->set_keep_alive_timeout(WebLimits::IDLE_SECONDS);
    m_server->set_read_timeout(WebLimits::IDLE_SECONDS);
    m_server->set_write_timeout(WebLimits::IDLE_SECONDS);
    AddRoutes();
    m_port = m_config.port == 0
                 ? m_server->bind_to_any_port(m_config.listen)
                 : (m_server->bind_to_port(m_config.listen, m_config.port) ? m_config.port : -1);
    if (m_port <= 0) {
        *problem = SystemError("cannot listen on " + m_config.listen + " port " +
                                   std::to_string(m_config.port),
                               errno);
        m_server.reset();
        return false;
    }
    m_feed = std::make_unique<LiveFeed>([this] { return LiveEvent(); }, m_config.liveInterval);
    m_listener = std::thread([this] { m_server->listen_after_bind(); });
    return true;
}

// The feed goes first so that the streams end and their workers come free.
void WebServer::Stop() {
    if (m_feed) {
        m_feed->Stop();
    }
    if (m_server) {
        m_server->stop();
    }
    if (m_listener.joinable()) {
        m_listener.join();
    }
    m_feed.reset();
    m_server.reset();
}

PlantSnapshot WebServer::Snapshot(const SnapshotScope& scope) const {
    PlantSnapshot snapshot = TakeSnapshot(m_groups, scope);
    if (m_config.brokerStatus) {
        snapshot.broker = m_config.brokerStatus();
    }
    return snapshot;
}

std::string WebServer::LiveEvent() const {
    return JsonText(LiveJson(Snapshot()));
}

void WebServer::AddRoutes() {
    m_server->set_pre_routing_handler([this](const Request& request, Response& response) {
        if (ConnectionQueue::TurningAway()) {
            response.set_header("Connection", "close");
            SendError(response, 503, "too many connections");
            return httplib::Server::HandlerResponse::Handled;
        }
        if (request.headers.size() > WebLimits::HEADERS) {
            SendError(response, 431, "too many header fields");
            return httplib::Server::HandlerResponse::Handled;
        }
        if (request.has_header("Transfer-Encoding") ||
            std::strtoull(request.get_header_value("Content-Length").c_str(), nullptr, 10) >
                WebLimits::BODY_BYTES) {
            response.set_header("Connection", "close");
            SendError(response, 413, "request too large");
            return httplib::Server::HandlerResponse::Handled;
        }
        if (request.method != "GET" && request.method != "HEAD") {
            SendError(response, 405, "read-only");
            return httplib::Server::HandlerResponse::Handled;
        }
        if (m_config.credentials &&
            !Authorized(request.get_header_value("Authorization"), *m_config.credentials)) {
            response.set_header("WWW-Authenticate",
                                "Basic realm=\"Heliowatch\", charset=\"UTF-8\"");
            SendError(response, 401, "authentication required");
            return httplib::Server::HandlerResponse::Handled;
        }
        return httplib::Server::HandlerResponse::Unhandled;
    });
    AddApiRoutes();
    AddHistoryRoutes();
    AddPageRoutes();
}

void WebServer::AddApiRoutes() {
    m_server->Get("/api/plant", [this](const Request&, Response& response) {
        SendJson(response, JsonText(PlantJson(Snapshot())));
    });
    m_server->Get("/api/inverters", [this](const Request&, Response& response) {
        SendJson(response, JsonText(InverterListJson(Snapshot())));
    });
    m_server->Get(R"(/api/inverters/([^/]+))", [this](const Request& request, Response& response) {
        const std::string serial = SerialOfPath(request.matches[1]);
        const PlantSnapshot snapshot = Snapshot({false, serial});
        if (const InverterView* inverter = snapshot.Find(serial)) {
            SendJson(response, JsonText(InverterJson(*inverter)));
        } else {
            SendError(response, 404, "no inverter with this serial number");
        }
    });
    auto day = [this](const Request& request, Response& response, const std::string& serial) {
        const std::string dateText =
            request.has_param("date") ? request.get_param_value("date") : std::string();
        const std::optional<int> dayKey = dateText.empty() ? TodayKey() : DayKeyOfText(dateText);
        if (!dayKey) {
            SendError(response, 400, "date must be YYYY-MM-DD");
            return;
        }
        std::vector<DayPoint> power;
        if (*dayKey == TodayKey()) {
            const PlantSnapshot snapshot = Snapshot({true, serial});
            const InverterView* inverter = serial.empty() ? nullptr : snapshot.Find(serial);
            if (!serial.empty() && inverter == nullptr) {
                SendError(response, 404, "no inverter with this serial number");
                return;
            }
            power = inverter ? InverterPowerCurve(*inverter) : PlantPowerCurve(snapshot);
        } else {
            SummaryCurve curve = SummaryDayCurve(m_config.summaryFile, *dayKey, serial);
            if (curve.status != 200) {
                SendError(response, curve.status, curve.problem);
                return;
            }
            power = std::move(curve.power);
        }
        SendJson(response, JsonText(QJsonObject{{"power", CurveJson(power)},
                                                {"energy", CurveJson(EnergyCurve(power))}}));
    };
    m_server->Get("/api/plant/day", [day](const Request& request, Response& response) {
        day(request, response, "");
    });
    m_server->Get(R"(/api/inverters/([^/]+)/day)",
                  [day](const Request& request, Response& response) {
                      day(request, response, SerialOfPath(request.matches[1]));
                  });
    m_server->Get("/api/faults", [this](const Request& request, Response& response) {
        SendJson(response, JsonText(FaultsJson(LoadFaultRecords(m_config.faultFile),
                                               SerialOfQuery(request))));
    });
    m_server->Get("/api/faults.csv", [this](const Request& request, Response& response) {
        const std::string serial = SerialOfQuery(request);
        std::string text(FAULT_EXPORT_HEADER);
        for (const InvFaultRecord& record : LoadFaultRecords(m_config.faultFile)) {
            if (serial.empty() || FaultSerialText(record) == serial) {
                text += FaultExportLine(FaultRowTextsOf(record));
            }
        }
        response.set_header("Content-Disposition", "attachment; filename=\"ErrorList.csv\"");
        response.set_content(text, "text/csv; charset=ISO-8859-1");
    });
    m_server->Get("/api/live", [this](const Request&, Response& response) {
        if (m_liveStreams.fetch_add(1) >= WebLimits::LIVE_STREAMS) {
            --m_liveStreams;
            SendError(response, 503, "too many live streams");
            return;
        }
        m_feed->Subscribe();
        auto seen = std::make_shared<std::uint64_t>(0);
        response.set_header("Cache-Control", "no-store");
        response.set_chunked_content_provider(
            "text/event-stream",
            [this, seen](std::size_t, httplib::DataSink& sink) {
                std::string text;
                if (!m_feed->Next(*seen, text, KEEP_ALIVE_COMMENT_EVERY)) {
                    return false;
                }
                const std::string event = text.empty() ? ": idle\n\n" : "data: " + text + "\n\n";
                return sink.write(event.data(), event.size());
            },
            [this](bool) {
                m_feed->Unsubscribe();
                --m_liveStreams;
            });
    });
    m_server->Get("/metrics", [this](const Request&, Response& response) {
        const double uptime =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - m_config.started)
                .count();
        response.set_content(MetricsText(Snapshot(), {m_config.version, uptime}),
                             "text/plain; version=0.0.4; charset=utf-8");
    });
}

void WebServer::AddHistoryRoutes() {
    auto bars = [this](PeriodKind kind, const std::string& name, const std::string& form) {
        return [this, kind, name, form](const Request& request, Response& response) {
            const std::optional<HistoryPeriod> period =
                request.has_param(name) ? PeriodOfText(request.get_param_value(name), kind)
                                        : HistoryPeriod{kind, TodayKey()};
            if (!period) {
                SendError(response, 400, name + " must be " + form);
                return;
            }
            const PeriodAnswer answer =
                SummaryPeriodBars(m_config.summaryFile, *period, SerialOfQuery(request));
            if (answer.status != 200) {
                SendError(response, answer.status, answer.problem);
                return;
            }
            SendJson(response, JsonText(answer.json));
        };
    };
    m_server->Get("/api/history/month", bars(PeriodKind::MONTH, "month", "YYYY-MM"));
    m_server->Get("/api/history/year", bars(PeriodKind::YEAR, "year", "YYYY"));
}

// Every page is the same document; its script draws the one its path names.
// The first data rides along, so the page shows values before any request.
void WebServer::AddPageRoutes() {
    for (const char* path : {"/", "/inverters", "/inverter", "/faults", "/history"}) {
        m_server->Get(path, [this](const Request&, Response& response) {
            response.set_header("Cache-Control", "no-store");
            response.set_content(PageHtml(LiveEvent()), "text/html; charset=utf-8");
        });
    }
}
