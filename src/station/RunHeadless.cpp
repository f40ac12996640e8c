#include "RunHeadless.h"

#include "AlertStart.h"
#include "DataDirectoryClaim.h"
#include "HeadlessStation.h"
#include "MessageQueue.h"
#include "ServiceWatchdog.h"
#include "StationOptions.h"
#include "WebStart.h"
#include "alerts/AlertCenter.h"
#include "alerts/AlertSettings.h"
#include "comm/CommShared.h"
#include "history/StationHistory.h"
#include "platform/Clock.h"
#include "platform/DataDirectory.h"
#include "platform/Log.h"
#include "platform/PortDirectory.h"
#include "platform/SingleInstance.h"
#include "publish/Publisher.h"
#include "store/HeliowatchDoc.h"
#include "store/PaneTargets.h"
#include "web/WebServer.h"

#include <csignal>

namespace {
std::atomic<bool> g_stopRequested{false};

extern "C" void RequestStop(int) {
    g_stopRequested = true;
}

void InstallStopHandlers() {
    struct sigaction action {};
    action.sa_handler = RequestStop;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

// The first thing to look at when a service does not do what was expected.
void LogPlaces(const CHeliowatchDoc& document, const std::string& settingsFile) {
    Log(LogLevel::Info,
        "settings " + settingsFile + ", ports " + PortDirectory() + ", data " + DataDirectory());
    if (document.GetGroups().empty()) {
        Log(LogLevel::Warning, "no port is enabled in " + settingsFile + "; nothing to poll");
    }
}

// Polls, publishes, serves and alerts until asked to stop. The web server
// ends before the document closes, the alerts after: they hear from its
// threads until then.
void Serve(CHeliowatchDoc& document, Publisher& publisher, AlertCenter& alerts, MessageQueue& queue,
           const std::string& settingsFile, std::unique_ptr<WebServer> web) {
    HeadlessStation station(document, queue, stdout);
    station.Publish(publisher);
    publisher.Configure(document.GetMqttSettings());
    const AlertSettings alertSettings = LoadAlertSettings(settingsFile);
    StartAlerts(alerts, alertSettings, publisher,
                StationAlertChannels(alertSettings, document.GetMqttSettings(), publisher));
    station.AddObserver(alerts);
    ServiceWatchdog watchdog;
    watchdog.Ready();
    station.Run(g_stopRequested, [&watchdog] { watchdog.Alive(); });
    watchdog.Stopping();
    web.reset();
    document.OnCloseDocument();
    alerts.Stop();
}

void SetPaneTargets(MessageTarget* target) {
    g_hListWnd = target;
    g_hGeneralStatusWnd = target;
    g_hTodayEnergyWnd = target;
    g_hPowerWnd = target;
}
} // namespace

int RunHeadless(const StationOptions& options) {
    static_assert(std::atomic<bool>::is_always_lock_free, "set from a signal handler");
    InstallStopHandlers();
    std::string claimProblem;
    const auto dataLock = ClaimDataDirectory(options, claimProblem);
    if (!dataLock) {
        Log(LogLevel::Error, claimProblem);
        return 1;
    }

    MessageQueue queue; // outlives the document and so every thread posting to it
    SetPaneTargets(&queue);
    int exitCode = 0;
    {
        Publisher publisher; // outlives the threads handing it their samples
        AlertCenter alerts(SystemClock::Instance()); // outlives the web server reading it
        StationHistory history;
        CHeliowatchDoc document(CommEnvironment::Default(), options.configFile);
        document.FollowHistory(&history);
        document.ChainPollSink(&publisher);
        std::string problem;
        if (document.OnNewDocument(&problem)) {
            g_viewsCreated = 1;
            LogPlaces(document, options.configFile);
            std::string webFailure;
            auto web = StartWebServer(document, publisher, alerts, options.configFile, &webFailure);
            if (webFailure.empty()) {
                Serve(document, publisher, alerts, queue, options.configFile, std::move(web));
            } else {
                Log(LogLevel::Error, webFailure);
                document.OnCloseDocument();
                exitCode = 1;
            }
            publisher.Stop();
        } else {
            Log(LogLevel::Error, problem);
            exitCode = 1;
        }
    }
    SetPaneTargets(nullptr);
    return exitCode;
}
