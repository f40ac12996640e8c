#pragma once

#include "WebRoute.h"

#include <string>

// The JSON API, the live stream and the metrics. Inverter routes take the
// serial number from the third path segment.
WebRoute PlantRoute;
WebRoute InverterListRoute;
WebRoute InverterRoute;
WebRoute PlantDayRoute;
WebRoute InverterDayRoute;
WebRoute FaultsRoute;
WebRoute FaultsCsvRoute;
WebRoute LiveRoute;
WebRoute MetricsRoute;

// A serial number as the station keeps it (Latin-1) from its UTF-8 form in
// a request.
std::string SerialOfText(const std::string& utf8);
