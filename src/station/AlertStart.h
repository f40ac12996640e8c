#pragma once

#include "alerts/AlertChannel.h"

#include <memory>
#include <string>
#include <vector>

class AlertCenter;
class Publisher;
struct AlertSettings;
struct MqttSettings;

// The channels the station adds to those of the settings: MQTT while it
// publishes and [Alerts] Mqtt=1.
std::vector<std::unique_ptr<AlertChannel>>
StationAlertChannels(const AlertSettings& alerts, const MqttSettings& mqtt, Publisher& publisher);

// Opens the outbox in the data directory, hands the rules the broker's state
// and starts delivering through the settings' channels and the given ones.
// A problem is logged; the alerts then wait in memory.
void StartAlerts(AlertCenter& center, const AlertSettings& settings, Publisher& publisher,
                 std::vector<std::unique_ptr<AlertChannel>> channels);
