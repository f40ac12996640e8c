#include "RunHeadless.h"
#include "StationOptions.h"

#ifdef HELIOWATCH_WITH_GUI
#include "RunGui.h"
#endif

#include <cstdio>
#include <ctime>

int main(int argc, char** argv) {
    // The port threads convert times at once; the zone is read here, before
    // any of them exists.
    tzset();
    const StationOptions options = ParseStationOptions(argc, argv);
    if (!options.error.empty()) {
        std::fprintf(stderr, "heliowatch: %s\n%s", options.error.c_str(), StationUsage());
        return 2;
    }
    if (options.help) {
        std::fputs(StationUsage(), stdout);
        return 0;
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
