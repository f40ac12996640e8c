#include "AlertRule.h"

namespace {
constexpr AlertRuleInfo TEST{AlertRule::Test, "test", "", Severity::Info};
} // namespace

const std::array<AlertRuleInfo, 7>& AlertRules() {
    static const std::array<AlertRuleInfo, 7> rules{{
        {AlertRule::Fault, "fault", "Fault", Severity::Error},
        {AlertRule::Offline, "offline", "Offline", Severity::Warning},
        {AlertRule::Port, "port", "Port", Severity::Error},
        {AlertRule::History, "history", "History", Severity::Error},
        {AlertRule::Broker, "broker", "Broker", Severity::Warning},
        {AlertRule::WeakDay, "weak-day", "WeakDay", Severity::Warning},
        {AlertRule::DailySummary, "daily-summary", "DailySummary", Severity::Info},
    }};
    return rules;
}

const AlertRuleInfo& RuleInfo(AlertRule rule) {
    for (const AlertRuleInfo& info : AlertRules()) {
        if (info.rule == rule) {
            return info;
        }
    }
    return TEST;
}
