#include "StationMain.h"

#include "HeliowatchVersion.h"
#include "HistoryCommands.h"
#include "PortCheck.h"
#include "PortListing.h"
#include "RunHeadless.h"
#include "StationOptions.h"
#include "platform/Log.h"
#include "platform/PortDirectory.h"

#include <cstdio>
#include <ctime>

namespace {
int RunStation(int argc, char** argv, const StationOptions& options, WindowRunner runWindow) {
    if (options.headless) {
        return RunHeadless(options);
    }
    if (runWindow == nullptr) {
        Log(LogLevel::Error, "built without the window; use --headless");
        return 2;
    }
    return runWindow(argc, argv, options);
}
} // namespace

int StationMain(int argc, char** argv, WindowRunner runWindow, DesktopChannelMaker desktop) {
    // The port threads convert times at once; the zone is read here, before
    // any of them exists.
    tzset();
    StartLogging();
    const StationOptions options = ParseStationOptions(argc, argv);
    if (!options.error.empty()) {
        Log(LogLevel::Error, options.error);
        Log(LogLevel::Info, "\n" + StationUsage());
        return 2;
    }
    if (options.help) {
        std::fputs(StationUsage().c_str(), stdout);
        return 0;
    }
    if (options.version) {
        std::puts("heliowatch " HELIOWATCH_VERSION);
        return 0;
    }
    if (!options.portDirectory.empty()) {
        SetPortDirectory(options.portDirectory);
    }
    if (options.listPorts) {
        return ListPorts(stdout);
    }
    if (options.check) {
        return CheckPorts(options.configFile, stdout);
    }
    if (!options.testAlert.empty()) {
        return SendTestAlertCommand(argc, argv, options, desktop, stdout);
    }
    if (options.rebuildHistory || !options.report.empty()) {
        return RunHistoryCommand(options);
    }
    return RunStation(argc, argv, options, runWindow);
}
