#pragma once

#include "Alert.h"

#include <array>
#include <string_view>

enum class AlertRule { Fault, Offline, Port, History, Broker, WeakDay, DailySummary, Test };

struct AlertRuleInfo {
    AlertRule rule;
    const char* name;       // in alerts: "fault", "weak-day", ...
    const char* settingKey; // "<settingKey>Channels" narrows where it goes
    Severity severity;      // of its openings, closings and reports alike
};

// Every rule the settings name; the test alert is not among them.
const std::array<AlertRuleInfo, 7>& AlertRules();
const AlertRuleInfo& RuleInfo(AlertRule rule);

// The channels by the names the settings, the command line and the outbox use.
inline constexpr std::array<std::string_view, 4> CHANNEL_NAMES{"webhook", "mail", "desktop",
                                                               "mqtt"};
