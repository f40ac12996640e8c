#pragma once

#include "MetricsText.h"
#include "alerts/AlertsSnapshot.h"

#include <functional>

// The alerts each channel delivered, failed to deliver and holds waiting, as
// a section of the metrics.
MetricsSection AlertMetrics(std::function<AlertsSnapshot()> alerts);
