#include "RunHeadless.h"

#include "DataDirectoryClaim.h"
#include "HeadlessStation.h"
#include "MessageQueue.h"
#include "StationOptions.h"
#include "comm/CommShared.h"
#include "platform/PortDirectory.h"
#include "platform/SingleInstance.h"
#include "store/HeliowatchDoc.h"
#include "store/PaneTargets.h"
#include "store/SettingsStore.h"

#include <csignal>
#include <cstdio>

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
    if (!options.portDirectory.empty()) {
        SetPortDirectory(options.portDirectory);
    }
    std::string claimProblem;
    const auto dataLock = ClaimDataDirectory(options, claimProblem);
    if (!dataLock) {
        std::fprintf(stderr, "heliowatch: %s\n", claimProblem.c_str());
        return 1;
    }
    const std::string config =
        options.configFile.empty() ? SettingsStore::DefaultPath() : options.configFile;

    MessageQueue queue; // outlives the document and so every thread posting to it
    SetPaneTargets(&queue);
    int exitCode = 0;
    {
        CHeliowatchDoc document(CommEnvironment::Default(), config);
        std::string problem;
        if (document.OnNewDocument(&problem)) {
            g_viewsCreated = 1;
            HeadlessStation station(document, queue, stdout);
            station.Run(g_stopRequested);
            document.OnCloseDocument();
        } else {
            std::fprintf(stderr, "heliowatch: %s\n", problem.c_str());
            exitCode = 1;
        }
    }
    SetPaneTargets(nullptr);
    return exitCode;
}
