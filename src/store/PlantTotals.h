#pragma once

#include <ctime>

class CHeliowatchDoc;

// The whole plant at one moment.
struct PlantTotals {
    std::time_t when = 0;
    double powerW = 0.0;
    double eTodayKWh = 0.0;
    double eTotalKWh = 0.0;
    int answering = 0;
    int registered = 0;
};

PlantTotals ReadPlantTotals(const CHeliowatchDoc& document, std::time_t when);
