#pragma once

#include <string>
#include <vector>

class RuntimeData;

// One value of a sample in its unit, named as the API names it.
struct SampleField {
    std::string name;
    std::string unit;
    double value = 0.0;
};

// Every value the sample holds, in the order the inverter sends them.
std::vector<SampleField> SampleFieldsOf(const RuntimeData& data);

// The readings the metrics carry; a single-phase inverter has one phase.
struct GridReadings {
    double temperatureC = 0.0;
    double pvVolts[2] = {};
    std::vector<double> acVolts;
    std::vector<double> frequencyHz;
    int mode = 0;
};
GridReadings GridReadingsOf(const RuntimeData& data);
