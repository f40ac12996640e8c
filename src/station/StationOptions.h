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
    bool rebuildHistory = false;
    std::string configFile;
    std::string portDirectory;
    std::string dataDirectory;
    std::string report;     // "day", "month" or "year"; empty: no report
    std::string reportDate; // empty: the current day, month or year
    std::string serial;     // the report's one inverter; empty: the plant
    std::string testAlert;  // webhook, mail, desktop or mqtt; empty: no test
    std::string error;      // set when the command line is not understood
};

StationOptions ParseStationOptions(int argc, char** argv);
// The --help text of program, "heliowatch" or "heliowatch-gui".
std::string StationUsage(const std::string& program);
