#include "RunHeadless.h"

#include "AlertStart.h"
#include "DataDirectoryClaim.h"
#include "ExitStatus.h"
#include "HeadlessStation.h"
#include "MessageQueue.h"
#include "ServiceStatusLine.h"
#include "ServiceUpkeep.h"
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
        Log(LogLevel::Warning, NoPortAdvice(settingsFile));
    }
}

// Settings read and the history folder made, or the exit status and why not.
int OpenDocument(CHeliowatchDoc& document) {
    std::string problem;
    if (!document.OnNewDocument(&problem)) {
        Log(LogLevel::Error, problem);
        return EXIT_SETTINGS_OR_USAGE;
    }
    if (!CreateDataDirectories(&problem)) {
        Log(LogLevel::Error, "cannot create the data directory: " + problem);
        return EXIT_DATA_DIRECTORY;
    }
    return EXIT_OK;
}

// Polls, publishes, serves and alerts until asked to stop; only a station
// that works says it is ready. The web server ends before the document
// closes, the alerts after: they hear from its threads until then.
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
    ServiceUpkeep upkeep(document, watchdog, SystemClock::Instance(), settingsFile);
    watchdog.Ready();
    station.Run(g_stopRequested, [&upkeep] { upkeep.Round(); });
    watchdog.Stopping();
    web.reset();
    document.OnCloseDocument();
    alerts.Stop();
}

// A web server that cannot start (its port taken, a refused access
// setting) is a settings fault: the station ends rather than run unseen.
int ServeWithWeb(CHeliowatchDoc& document, Publisher& publisher, AlertCenter& alerts,
                 MessageQueue& queue, const std::string& settingsFile) {
    g_viewsCreated = 1;
    LogPlaces(document, settingsFile);
    std::string webFailure;
    auto web = StartWebServer(document, publisher, alerts, settingsFile, &webFailure);
    if (!webFailure.empty()) {
        Log(LogLevel::Error, webFailure);
        document.OnCloseDocument();
        return EXIT_SETTINGS_OR_USAGE;
    }
    Serve(document, publisher, alerts, queue, settingsFile, std::move(web));
    return EXIT_OK;
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
    int exitCode = EXIT_OK;
    const auto dataLock = ClaimDataDirectory(options, claimProblem, exitCode);
    if (!dataLock) {
        Log(LogLevel::Error, claimProblem);
        return exitCode;
    }

    MessageQueue queue; // outlives the document and so every thread posting to it
    SetPaneTargets(&queue);
    {
        Publisher publisher; // outlives the threads handing it their samples
        AlertCenter alerts(SystemClock::Instance()); // outlives the web server reading it
        StationHistory history;
        CHeliowatchDoc document(CommEnvironment::Default(), options.configFile);
        document.FollowHistory(&history);
        document.ChainPollSink(&publisher);
        exitCode = OpenDocument(document);
        if (exitCode == EXIT_OK) {
            exitCode = ServeWithWeb(document, publisher, alerts, queue, options.configFile);
            publisher.Stop();
        }
    }
    SetPaneTargets(nullptr);
    return exitCode;
}
