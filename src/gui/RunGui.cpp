#include "RunGui.h"

#include "HeliowatchApp.h"

int RunGui(int argc, char** argv, const StationOptions& options) {
    CHeliowatchApp application(options);
    return application.Run(argc, argv);
}
