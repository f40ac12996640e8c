#include "AlertChannels.h"

#include "MailChannel.h"
#include "RuleAlerts.h"
#include "WebhookChannel.h"

#include <unistd.h>

std::vector<std::unique_ptr<AlertChannel>> ConfiguredChannels(const AlertSettings& settings) {
    std::vector<std::unique_ptr<AlertChannel>> channels;
    if (!settings.webhookUrl.empty()) {
        channels.push_back(std::make_unique<WebhookChannel>(settings));
    }
    if (!settings.smtpUrl.empty()) {
        channels.push_back(std::make_unique<MailChannel>(settings));
    }
    return channels;
}

std::unique_ptr<AlertChannel> ChannelByName(const std::string& name, const AlertSettings& settings,
                                            std::string& problem) {
    if (name == "webhook") {
        if (settings.webhookUrl.empty()) {
            problem = "WebhookUrl is empty in [Alerts]";
            return nullptr;
        }
        return std::make_unique<WebhookChannel>(settings);
    }
    if (name == "mail") {
        if (settings.smtpUrl.empty()) {
            problem = "SmtpUrl is empty in [Alerts]";
            return nullptr;
        }
        return std::make_unique<MailChannel>(settings);
    }
    problem = "no channel named " + name;
    return nullptr;
}

std::string StationName() {
    char name[256] = {};
    if (gethostname(name, sizeof name - 1) != 0 || name[0] == '\0') {
        return "station";
    }
    return name;
}

std::string SendTestAlert(AlertChannel& channel, std::time_t now) {
    Alert alert = RuleAlerts::Test(channel.Name(), StationName());
    alert.time = now;
    alert.station = StationName();
    return channel.Deliver(alert);
}
