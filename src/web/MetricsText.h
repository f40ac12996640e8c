#pragma once

#include "MetricsWriter.h"
#include "PlantSnapshot.h"

#include <functional>
#include <string>
#include <vector>

// Families that parts of the station beyond the plant add to the metrics.
using MetricsSection = std::function<void(MetricsWriter&)>;

struct MetricsInfo {
    std::string version;
    double uptimeSeconds = 0.0;
    std::vector<MetricsSection> sections;
};

// The plant in the Prometheus text exposition format. Inverter series carry
// only the serial number; heliowatch_inverter_info says where each is and what
// it is, so that moving an inverter changes one series, not all of them.
// Inverters without a fresh reading show online and the time of their last
// sample, never their old values.
std::string MetricsText(const PlantSnapshot& snapshot, const MetricsInfo& info);
