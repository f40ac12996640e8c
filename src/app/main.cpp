#include "HistoryCommands.h"
#include "RunHeadless.h"
#include "StationOptions.h"

#ifdef HELIOWATCH_WITH_GUI
#include "RunGui.h"
#endif

#include <cstdio>

int main(int argc, char** argv) {
    const StationOptions options = ParseStationOptions(argc, argv);
    if (!options.error.empty()) {
        std::fprintf(stderr, "heliowatch: %s\n%s", options.error.c_str(), StationUsage());
        return 2;
    }
    if (options.help) {
        std::fputs(StationUsage(), stdout);
        return 0;
    }
    if (options.rebuildHistory || !options.report.empty()) {
        return RunHistoryCommand(options);
    }
    if (options.headless) {
        return RunHeadless(options);
    }
#ifdef HELIOWATCH_WITH_GUI
    return RunGui(argc, argv, options);
#else
    std::fputs("heliowatch: built without the window; use --headless\n", stderr);
    return 2;
#endif
}
