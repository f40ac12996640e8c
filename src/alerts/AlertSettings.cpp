#include "AlertSettings.h"

#include "platform/Log.h"
#include "store/SettingsStore.h"

#include <QString>
#include <QStringList>
#include <algorithm>

namespace {
const std::string SECTION = "Alerts";
constexpr SettingRange MINUTES_RANGE{0, 24 * 60};
constexpr SettingRange REPEAT_RANGE{0, 7 * 24 * 60};
constexpr SettingRange PERCENT_RANGE{0, 100};

class AlertsSection {
public:
    explicit AlertsSection(const SettingsStore& file) : m_file(file) {}

    std::string Text(const char* key, const std::string& defaultValue = {}) const {
        return m_file.GetString(SECTION, key, defaultValue);
    }
    int Number(const char* key, int defaultValue, SettingRange range) const {
        return m_file.GetInt(SECTION, key, defaultValue, range);
    }
    bool Switch(const char* key, bool defaultValue) const {
        return Number(key, defaultValue ? 1 : 0, SWITCH_RANGE) == 1;
    }
    void Refuse(const std::string& key, const std::string& value, const char* why) const {
        Log(LogLevel::Warning,
            m_file.Path() + ": [" + SECTION + "] " + key + "=" + value + " " + why);
    }

private:
    const SettingsStore& m_file;
};

std::vector<std::string> Words(const std::string& text) {
    std::vector<std::string> words;
    for (const QString& word : QString::fromStdString(text).split(',', Qt::SkipEmptyParts)) {
        if (const QString trimmed = word.trimmed(); !trimmed.isEmpty()) {
            words.push_back(trimmed.toStdString());
        }
    }
    return words;
}

bool IsChannel(const std::string& name) {
    return std::find(CHANNEL_NAMES.begin(), CHANNEL_NAMES.end(), name) != CHANNEL_NAMES.end();
}

std::optional<int> MinuteOfDay(const AlertsSection& section, const char* key) {
    const std::string text = section.Text(key);
    if (text.empty()) {
        return std::nullopt;
    }
    const QStringList parts = QString::fromStdString(text).split(':');
    bool hourOk = false;
    bool minuteOk = false;
    const int hour = parts.size() == 2 ? parts[0].toInt(&hourOk) : -1;
    const int minute = parts.size() == 2 ? parts[1].toInt(&minuteOk) : -1;
    if (!hourOk || !minuteOk || hour < 0 || hour > 23 || minute < 0 || minute > 59) {
        section.Refuse(key, text, "is not a time of day HH:MM; there are no quiet hours");
        return std::nullopt;
    }
    return hour * 60 + minute;
}

std::optional<double> Degrees(const AlertsSection& section, const char* key, double limit) {
    const std::string text = section.Text(key);
    if (text.empty()) {
        return std::nullopt;
    }
    bool isNumber = false;
    const double degrees = QString::fromStdString(text).toDouble(&isNumber);
    if (!isNumber || degrees < -limit || degrees > limit) {
        section.Refuse(key, text, "is not a number of degrees in range; the sun is not used");
        return std::nullopt;
    }
    return degrees;
}

void ReadChannels(const AlertsSection& section, AlertSettings& settings) {
    for (const AlertRuleInfo& rule : AlertRules()) {
        const std::string key = std::string(rule.settingKey) + "Channels";
        const std::string text = section.Text(key.c_str());
        if (text.empty()) {
            continue;
        }
        std::set<std::string>& channels = settings.ruleChannels[rule.name];
        for (const std::string& word : Words(text)) {
            if (IsChannel(word)) {
                channels.insert(word);
            } else if (word != "none") {
                section.Refuse(key, text,
                               ("names no channel " + word + "; it is left out").c_str());
            }
        }
    }
    for (const std::string_view channel : CHANNEL_NAMES) {
        const std::string key = ChannelKeyPrefix(std::string(channel)) + "Severity";
        const std::string text = section.Text(key.c_str());
        if (text.empty()) {
            continue;
        }
        if (const std::optional<Severity> severity = ParseSeverity(text)) {
            settings.minimumSeverity[std::string(channel)] = *severity;
        } else {
            section.Refuse(key, text, "is not info, warning or error; info is used");
        }
    }
}

void ReadMail(const AlertsSection& section, AlertSettings& settings) {
    settings.smtpUrl = section.Text("SmtpUrl");
    settings.smtpStartTls = section.Switch("SmtpStartTls", true);
    settings.smtpUser = section.Text("SmtpUser");
    settings.smtpPasswordFile = section.Text("SmtpPasswordFile");
    settings.mailFrom = section.Text("MailFrom");
    settings.mailTo = Words(section.Text("MailTo"));
}

void ReadWebhook(const AlertsSection& section, AlertSettings& settings) {
    settings.webhookUrl = section.Text("WebhookUrl");
    const std::string format = section.Text("WebhookFormat", "json");
    if (format == "ntfy") {
        settings.webhookFormat = WebhookFormat::Ntfy;
    } else if (format != "json") {
        section.Refuse("WebhookFormat", format, "is neither json nor ntfy; json is used");
    }
    settings.webhookTokenFile = section.Text("WebhookTokenFile");
}
} // namespace

AlertSettings ReadAlertSettings(const SettingsStore& file) {
    const AlertsSection section(file);
    const AlertSettings defaults;
    AlertSettings settings;
    settings.enable = section.Switch("Enable", true);
    ReadWebhook(section, settings);
    ReadMail(section, settings);
    settings.caFile = section.Text("CaFile");
    settings.desktop = section.Switch("Desktop", true);
    settings.mqtt = section.Switch("Mqtt", true);
    settings.offlineMinutes =
        section.Number("OfflineMinutes", defaults.offlineMinutes, MINUTES_RANGE);
    settings.portMinutes = section.Number("PortMinutes", defaults.portMinutes, MINUTES_RANGE);
    settings.brokerMinutes = section.Number("BrokerMinutes", defaults.brokerMinutes, MINUTES_RANGE);
    settings.weakDayPercent =
        section.Number("WeakDayPercent", defaults.weakDayPercent, PERCENT_RANGE);
    settings.dailySummary = section.Switch("DailySummary", false);
    settings.repeatMinutes = section.Number("RepeatMinutes", defaults.repeatMinutes, REPEAT_RANGE);
    settings.quietFrom = MinuteOfDay(section, "QuietFrom");
    settings.quietTo = MinuteOfDay(section, "QuietTo");
    settings.latitude = Degrees(section, "Latitude", 90.0);
    settings.longitude = Degrees(section, "Longitude", 180.0);
    ReadChannels(section, settings);
    return settings;
}

AlertSettings LoadAlertSettings(const std::string& iniPath) {
    return ReadAlertSettings(SettingsStore(iniPath));
}

bool SaveAlertChannels(const std::string& iniPath, const AlertSettings& settings) {
    std::string mailTo;
    for (const std::string& address : settings.mailTo) {
        mailTo += (mailTo.empty() ? "" : ",") + address;
    }
    SettingsStore file(iniPath);
    return file.WriteValues(
        SECTION,
        {
            {"Enable", settings.enable ? "1" : "0"},
            {"WebhookUrl", settings.webhookUrl},
            {"WebhookFormat", settings.webhookFormat == WebhookFormat::Ntfy ? "ntfy" : "json"},
            {"WebhookTokenFile", settings.webhookTokenFile},
            {"SmtpUrl", settings.smtpUrl},
            {"SmtpStartTls", settings.smtpStartTls ? "1" : "0"},
            {"SmtpUser", settings.smtpUser},
            {"SmtpPasswordFile", settings.smtpPasswordFile},
            {"MailFrom", settings.mailFrom},
            {"MailTo", mailTo},
            {"Desktop", settings.desktop ? "1" : "0"},
            {"Mqtt", settings.mqtt ? "1" : "0"},
        });
}

bool RuleEnabled(const AlertSettings& settings, AlertRule rule) {
    const auto channels = settings.ruleChannels.find(RuleInfo(rule).name);
    if (!settings.enable || (channels != settings.ruleChannels.end() && channels->second.empty())) {
        return false;
    }
    switch (rule) {
    case AlertRule::Offline: return settings.offlineMinutes > 0;
    case AlertRule::Port: return settings.portMinutes > 0;
    case AlertRule::Broker: return settings.brokerMinutes > 0;
    case AlertRule::WeakDay: return settings.weakDayPercent > 0;
    case AlertRule::DailySummary: return settings.dailySummary;
    default: return true;
    }
}

bool RuleUsesChannel(const AlertSettings& settings, const std::string& ruleName,
                     const std::string& channel) {
    const auto channels = settings.ruleChannels.find(ruleName);
    return channels == settings.ruleChannels.end() || channels->second.count(channel) > 0;
}

std::string ChannelKeyPrefix(const std::string& channel) {
    std::string prefix = channel;
    if (!prefix.empty()) {
        prefix[0] = static_cast<char>(prefix[0] - 'a' + 'A');
    }
    return prefix;
}
