#include "MqttAlertChannel.h"

#include "alerts/AlertJson.h"
#include "publish/Publisher.h"

std::string MqttAlertChannel::Deliver(const Alert& alert) {
    return m_publisher.PublishAlert(AlertJson(alert));
}
