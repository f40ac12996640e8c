#include "StationMain.h"

#include "ExitStatus.h"
#include "HeliowatchVersion.h"
#include "HistoryCommands.h"
#include "PortCheck.h"
#include "PortListing.h"
#include "RunHeadless.h"
#include "StationOptions.h"
#include "WindowProgram.h"
#include "platform/Log.h"
#include "platform/PortDirectory.h"

#include <cstdio>
#include <ctime>
#include <string>

namespace {
int RunStation(int argc, char** argv, const StationOptions& options, WindowRunner runWindow) {
    if (options.headless) {
        return RunHeadless(options);
    }
    if (runWindow == nullptr) {
        return RunWindowProgram(argv);
    }
    return runWindow(argc, argv, options);
}
} // namespace

int StationMain(int argc, char** argv, WindowRunner runWindow, DesktopChannelMaker desktop) {
    // The port threads convert times at once; the zone is read here, before
    // any of them exists.
    tzset();
    StartLogging();
    const std::string program = runWindow == nullptr ? "heliowatch" : "heliowatch-gui";
    const StationOptions options = ParseStationOptions(argc, argv);
    if (!options.error.empty()) {
        Log(LogLevel::Error, options.error);
        Log(LogLevel::Info, "\n" + StationUsage(program));
        return EXIT_SETTINGS_OR_USAGE;
    }
    if (options.help) {
        std::fputs(StationUsage(program).c_str(), stdout);
        return EXIT_OK;
    }
    if (options.version) {
        std::printf("%s %s\n", program.c_str(), HELIOWATCH_VERSION);
        return EXIT_OK;
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
