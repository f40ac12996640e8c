#pragma once

#include <ctime>

class CHeliowatchDoc;

// The whole plant at one moment.
struct PlantTotals {
    std::time_t when = 0;
    double powerW = 0.0;    // of the inverters reporting, free of faults
    double eTodayKWh = 0.0; // last known values of every registered inverter
    double eTotalKWh = 0.0;
    int answering = 0; // not yet declared offline
    int reporting = 0; // readings current (fresh)
    int registered = 0;
    int faults = 0;  // inverters whose last reading had error bits
    int offline = 0; // declared offline, or never answered
    int portsLost = 0;
    // Until both are 0 the sums may lack inverters not yet found or read.
    int portsRegistering = 0; // first registration round not over, port working
    int unheard = 0;          // registered, nothing decoded yet
};

PlantTotals ReadPlantTotals(const CHeliowatchDoc& document, std::time_t when);
