#pragma once

#include "MetricsText.h"
#include "WebAccess.h"
#include "alerts/AlertsSnapshot.h"
#include "publish/BrokerStatus.h"
#include "store/PlantTotals.h"

#include <chrono>
#include <ctime>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class PlantDayCurves;

struct WebServerConfig {
    std::string listen = "127.0.0.1";
    int port = 8080; // 0: any free port
    std::optional<Credentials> credentials;
    std::vector<std::string> allowedHosts; // besides the listen address and localhost
    std::string tlsCert;                   // PEM files; both or neither
    std::string tlsKey;
    std::string faultFile;
    std::string summaryFile;
    std::string version;
    std::chrono::milliseconds liveInterval{1000};
    std::chrono::steady_clock::time_point started = std::chrono::steady_clock::now();
    std::function<BrokerStatus()> brokerStatus; // empty: the station does not publish
    // The station's plant totals, the figures the window and publishing show.
    std::function<PlantTotals(std::time_t)> plantTotals;
    std::function<AlertsSnapshot()> alerts;      // empty: the station keeps no alerts
    const PlantDayCurves* plantCurves = nullptr; // the plant's curves of today; none: empty
    std::vector<MetricsSection> metricsSections;
};
