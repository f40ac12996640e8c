#include "RunHeadless.h"
#include "StationOptions.h"

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
    if (!options.headless) {
        std::fprintf(stderr, "heliowatch: the window is not available in this build; use "
                             "--headless\n");
        return 2;
    }
    return RunHeadless(options);
}
