#pragma once

#include "PlantSnapshot.h"

#include <string>

struct MetricsInfo {
    std::string version;
    double uptimeSeconds = 0.0;
};

// The plant in the Prometheus text exposition format. Offline inverters show
// online 0 and the time of their last sample, never their old values.
std::string MetricsText(const PlantSnapshot& snapshot, const MetricsInfo& info);

// A label value as the format quotes it: UTF-8 (station bytes are Latin-1)
// with backslash, double quote and line feed escaped.
std::string LabelValue(const std::string& bytes);
