#pragma once

#include <string>

// The station's command line. Places not given are filled in from
// DefaultSettingsFile() and DefaultDataDirectory(); the port directory is
// left empty for PortDirectory() to choose.
struct StationOptions {
    bool headless = false;
    bool help = false;
    bool version = false;
    bool listPorts = false;
    bool check = false;
    std::string configFile;
    std::string portDirectory;
    std::string dataDirectory;
    std::string error; // set when the command line is not understood
};

StationOptions ParseStationOptions(int argc, char** argv);
std::string StationUsage();
