#include "DesktopChannel.h"
#include "RunGui.h"
#include "station/StationMain.h"

int main(int argc, char** argv) {
    return StationMain(argc, argv, RunGui, MakeDesktopChannel);
}
