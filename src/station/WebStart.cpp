#include "WebStart.h"

#include "HeliowatchVersion.h"
#include "alerts/AlertCenter.h"
#include "history/SummarySchema.h"
#include "platform/Log.h"
#include "publish/Publisher.h"
#include "store/FaultRecordFile.h"
#include "store/HeliowatchDoc.h"
#include "store/PlantTotals.h"
#include "store/SettingsStore.h"
#include "store/WebSettings.h"
#include "web/WebServer.h"

namespace {
WebServerConfig ConfigOf(const WebSettings& settings, const AccessDecision& access,
                         const CHeliowatchDoc& document, const Publisher& publisher,
                         AlertCenter& alerts) {
    WebServerConfig config;
    config.listen = settings.listen;
    config.port = settings.port;
    config.credentials = access.credentials;
    config.allowedHosts = settings.allowedHosts;
    config.tlsCert = settings.tlsCert;
    config.tlsKey = settings.tlsKey;
    config.faultFile = FaultRecordFilePath();
    config.summaryFile = SummaryPath();
    config.version = HELIOWATCH_VERSION;
    config.brokerStatus = [&publisher] { return publisher.Status(); };
    config.plantTotals = [&document](std::time_t now) { return ReadPlantTotals(document, now); };
    config.plantCurves = &document.PlantCurves();
    config.alerts = [&alerts] { return alerts.Snapshot(); };
    return config;
}

std::unique_ptr<WebServer> Refuse(const std::string& reason, std::string* failure) {
    const std::string text = "the web server does not start: " + reason;
    if (failure != nullptr) {
        *failure = text;
    } else {
        Log(LogLevel::Warning, text);
    }
    return nullptr;
}
} // namespace

std::unique_ptr<WebServer> StartWebServer(const CHeliowatchDoc& document,
                                          const Publisher& publisher, AlertCenter& alerts,
                                          const std::string& settingsFile, std::string* failure) {
    const WebSettings settings = ReadWebSettings(SettingsStore(settingsFile));
    if (!settings.enable) {
        return nullptr;
    }
    const AccessDecision access = DecideAccess(settings);
    if (!access.refusal.empty()) {
        return Refuse(access.refusal, failure);
    }
    if (!access.warning.empty()) {
        Log(LogLevel::Warning, "web dashboard: " + access.warning);
    }
    auto server =
        std::make_unique<WebServer>([&document](const auto& visit) { document.VisitGroups(visit); },
                                    ConfigOf(settings, access, document, publisher, alerts));
    std::string problem;
    if (!server->Start(&problem)) {
        return Refuse(problem, failure);
    }
    const char* scheme = settings.tlsCert.empty() ? "http" : "https";
    Log(LogLevel::Info, std::string("web dashboard at ") + scheme + "://" + settings.listen + ":" +
                            std::to_string(server->Port()) + "/");
    return server;
}
