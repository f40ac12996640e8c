#pragma once

#include "Alert.h"
#include "AlertRule.h"

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

class SettingsStore;

enum class WebhookFormat { Json, Ntfy };

// Section [Alerts] of the settings file: the rules, their limits and the
// channels alerts go through.
struct AlertSettings {
    bool enable = true;
    std::string webhookUrl; // empty: no webhook
    WebhookFormat webhookFormat = WebhookFormat::Json;
    std::string webhookTokenFile;
    std::string smtpUrl; // smtp://host:port; empty: no mail
    bool smtpStartTls = true;
    std::string smtpUser;
    std::string smtpPasswordFile;
    std::string mailFrom;
    std::vector<std::string> mailTo;
    std::string caFile;  // for the webhook and mail servers; empty: the system's
    bool desktop = true; // in the window only
    bool mqtt = true;    // while the station publishes
    int offlineMinutes = 15;
    int portMinutes = 5;
    int brokerMinutes = 15;
    int weakDayPercent = 60;
    bool dailySummary = false;
    int repeatMinutes = 360;
    std::optional<int> quietFrom; // minutes after local midnight
    std::optional<int> quietTo;
    std::optional<double> latitude;  // degrees north
    std::optional<double> longitude; // degrees east
    // By rule name, the channels it may use; a rule not named uses all.
    std::map<std::string, std::set<std::string>> ruleChannels;
    // By channel name, the least severity it carries; info when not named.
    std::map<std::string, Severity> minimumSeverity;

    bool operator==(const AlertSettings&) const = default;
};

// Values that cannot be used are told with a warning naming the key, and
// the default is used.
AlertSettings ReadAlertSettings(const SettingsStore& file);
AlertSettings LoadAlertSettings(const std::string& iniPath);
// Writes the channel keys the window edits; the rest of the file stays.
// False when the file could not be written.
[[nodiscard]] bool SaveAlertChannels(const std::string& iniPath, const AlertSettings& settings);

// Whether the rule may raise anything at all.
bool RuleEnabled(const AlertSettings& settings, AlertRule rule);
// Whether the rule may use the channel.
bool RuleUsesChannel(const AlertSettings& settings, const std::string& ruleName,
                     const std::string& channel);
// "Webhook", "Mail", "Desktop", "Mqtt": the key prefix of a channel's own settings.
std::string ChannelKeyPrefix(const std::string& channel);
