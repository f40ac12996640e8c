#include "WebStart.h"

#include "HeliowatchVersion.h"
#include "history/SummarySchema.h"
#include "platform/Log.h"
#include "publish/Publisher.h"
#include "store/FaultRecordFile.h"
#include "store/HeliowatchDoc.h"
#include "store/SettingsStore.h"
#include "store/WebSettings.h"
#include "web/WebServer.h"

std::unique_ptr<WebServer> StartWebServer(const CHeliowatchDoc& document,
                                          const Publisher& publisher,
                                          const std::string& settingsFile) {
    const WebSettings settings = ReadWebSettings(SettingsStore(settingsFile));
    if (!settings.enable) {
        return nullptr;
    }
    const AccessDecision access = DecideAccess(settings);
    if (!access.refusal.empty()) {
        Log(LogLevel::Warning, "the web server does not start: " + access.refusal);
        return nullptr;
    }
    WebServerConfig config;
    config.listen = settings.listen;
    config.port = settings.port;
    config.credentials = access.credentials;
    config.tlsCert = settings.tlsCert;
    config.tlsKey = settings.tlsKey;
    config.faultFile = FaultRecordFilePath();
    config.summaryFile = SummaryPath();
    config.version = HELIOWATCH_VERSION;
    config.brokerStatus = [&publisher] { return publisher.Status(); };
    auto server = std::make_unique<WebServer>(
        [&document](const auto& visit) { document.VisitGroups(visit); }, config);
    std::string problem;
    if (!server->Start(&problem)) {
        Log(LogLevel::Warning, "the web server does not start: " + problem);
        return nullptr;
    }
    const char* scheme = settings.tlsCert.empty() ? "http" : "https";
    Log(LogLevel::Info, std::string("web dashboard at ") + scheme + "://" + settings.listen + ":" +
                            std::to_string(server->Port()) + "/");
    return server;
}
