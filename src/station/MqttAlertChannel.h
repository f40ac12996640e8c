#pragma once

#include "alerts/AlertChannel.h"

class Publisher;

// Alerts as JSON on the station's alert topic, through the running
// publisher; while the broker is away they wait in the outbox.
class MqttAlertChannel : public AlertChannel {
public:
    explicit MqttAlertChannel(Publisher& publisher) : m_publisher(publisher) {}

    std::string Name() const override { return "mqtt"; }
    std::string Deliver(const Alert& alert) override;

private:
    Publisher& m_publisher;
};
