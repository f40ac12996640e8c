#include "TestAlertCommand.h"

#include "StationOptions.h"
#include "alerts/AlertChannels.h"
#include "alerts/AlertJson.h"
#include "alerts/AlertSettings.h"
#include "alerts/RuleAlerts.h"
#include "publish/ConnectionTest.h"
#include "publish/Topics.h"
#include "store/MqttSettings.h"

#include <QCoreApplication>
#include <ctime>

std::string SendBrokerTestAlert(const MqttSettings& mqtt) {
    if (!mqtt.enable) {
        return "the station does not publish ([Mqtt] Enable=0)";
    }
    Alert alert = RuleAlerts::Test("mqtt", StationName());
    alert.time = std::time(nullptr);
    alert.station = StationName();
    const Topics topics(mqtt.topicPrefix, mqtt.discoveryPrefix);
    return PublishTestMessage(mqtt, {topics.Alert(), AlertJson(alert), false});
}

namespace {

std::string SendThroughDesktop(int argc, char** argv, DesktopChannelMaker desktop) {
    if (desktop == nullptr) {
        return "this program has no window; desktop notifications come from heliowatch's window";
    }
    const QCoreApplication application(argc, argv);
    return SendTestAlert(*desktop(), std::time(nullptr));
}

std::string Send(int argc, char** argv, const StationOptions& options,
                 DesktopChannelMaker desktop) {
    const std::string& name = options.testAlert;
    if (name == "mqtt") {
        return SendBrokerTestAlert(LoadMqttSettings(options.configFile));
    }
    if (name == "desktop") {
        return SendThroughDesktop(argc, argv, desktop);
    }
    std::string problem;
    const auto channel = ChannelByName(name, LoadAlertSettings(options.configFile), problem);
    return channel ? SendTestAlert(*channel, std::time(nullptr)) : problem;
}
} // namespace

int SendTestAlertCommand(int argc, char** argv, const StationOptions& options,
                         DesktopChannelMaker desktop, std::FILE* out) {
    const std::string problem = Send(argc, argv, options, desktop);
    std::fprintf(out, "%s: %s\n", options.testAlert.c_str(),
                 problem.empty() ? "sent" : problem.c_str());
    return problem.empty() ? 0 : 1;
}
