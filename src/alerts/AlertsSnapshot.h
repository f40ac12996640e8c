#pragma once

#include "Alert.h"
#include "ChannelCounts.h"
#include "SentAlert.h"

#include <map>
#include <string>
#include <vector>

// What the web pages and /metrics show of the alerts.
struct AlertsSnapshot {
    std::vector<Alert> open;                       // conditions that hold now, oldest first
    std::vector<SentAlert> lastSent;               // the latest first, at most LAST_SENT
    std::map<std::string, ChannelCounts> channels; // by channel name

    static constexpr std::size_t LAST_SENT = 50;
};
