#pragma once

#include <vector>

class RuntimeData;

// The readings the metrics carry; a single-phase inverter has one phase.
struct GridReadings {
    double temperatureC = 0.0;
    double pvVolts[2] = {};
    std::vector<double> acVolts;
    std::vector<double> frequencyHz;
    int mode = 0;
};
GridReadings GridReadingsOf(const RuntimeData& data);
