#pragma once

#include <string>

// The station's command line.
struct StationOptions {
    bool headless = false;
    bool help = false;
    std::string configFile;
    std::string portDirectory;
    std::string dataDirectory;
    bool rebuildHistory = false;
    std::string report;     // "day", "month" or "year"; empty: no report
    std::string reportDate; // empty: the current day, month or year
    std::string serial;     // the report's one inverter; empty: the plant
    std::string error;      // set when the command line is not understood
};

StationOptions ParseStationOptions(int argc, char** argv);
const char* StationUsage();

// The program's own directory when it is writable, else
// $XDG_DATA_HOME/heliowatch.
std::string DefaultDataDirectory();
