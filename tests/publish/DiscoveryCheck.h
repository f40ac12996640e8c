#pragma once

#include <QJsonObject>
#include <string>
#include <vector>

// What is wrong with one device's discovery configuration, as Home Assistant
// reads it: keys it does not know or of the wrong type, units that do not
// fit their device class, entity ids outside their platform's domain, and
// templates naming keys that the device's state message (state) lacks.
// Empty when nothing is.
std::vector<std::string> DeviceConfigProblems(const QJsonObject& config, const QJsonObject& state);
