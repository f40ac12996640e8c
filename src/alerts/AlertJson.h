#pragma once

#include "Alert.h"

#include <QJsonObject>
#include <string>

// The alert as one JSON object, the same for the webhook, MQTT and the web
// pages: rule, state, severity, serial, port, address (null when the alert
// is not about one), title, text, time (ISO 8601 with the UTC offset),
// epoch, count, station and identity.
std::string AlertJson(const Alert& alert);
QJsonObject AlertObject(const Alert& alert);
