#include "StationMain.h"

int main(int argc, char** argv) {
    return StationMain(argc, argv, nullptr);
}
