#include "AlertStart.h"

#include "MqttAlertChannel.h"
#include "alerts/AlertCenter.h"
#include "platform/DataDirectory.h"
#include "platform/Log.h"
#include "publish/Publisher.h"
#include "store/MqttSettings.h"

namespace {
// Connecting says nothing yet; a lost broker says why.
std::optional<std::string> BrokerProblem(const Publisher& publisher) {
    const BrokerStatus status = publisher.Status();
    switch (status.state) {
    case BrokerStatus::State::Connecting: return std::nullopt;
    case BrokerStatus::State::Lost:
        return status.reason.empty() ? std::string("connection lost") : status.reason;
    case BrokerStatus::State::Disabled:
    case BrokerStatus::State::Connected: return std::string();
    }
    return std::string();
}
} // namespace

std::vector<std::unique_ptr<AlertChannel>>
StationAlertChannels(const AlertSettings& alerts, const MqttSettings& mqtt, Publisher& publisher) {
    std::vector<std::unique_ptr<AlertChannel>> channels;
    if (alerts.mqtt && mqtt.enable) {
        channels.push_back(std::make_unique<MqttAlertChannel>(publisher));
    }
    return channels;
}

void StartAlerts(AlertCenter& center, const AlertSettings& settings, Publisher& publisher,
                 std::vector<std::unique_ptr<AlertChannel>> channels) {
    std::string problem;
    if (settings.enable && !center.Open(DataDirectory(), problem)) {
        Log(LogLevel::Error, problem + "; alerts are kept in memory only");
    }
    center.SetBrokerProbe([&publisher] { return BrokerProblem(publisher); });
    center.Configure(settings, std::move(channels));
}
