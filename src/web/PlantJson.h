#pragma once

#include "PlantSnapshot.h"

#include <QJsonArray>
#include <QJsonObject>
#include <string>
#include <vector>

// The JSON the API serves; station texts are Latin-1 bytes.
QJsonObject PlantJson(const PlantSnapshot& snapshot);
QJsonArray InverterListJson(const PlantSnapshot& snapshot);
// Every value of the last sample with its name and unit, the parameters and
// the open fault as well.
QJsonObject InverterJson(const InverterView& inverter, std::time_t now);
// [time, mean] points, or [time, mean, lowest, highest] with range.
QJsonArray CurveJson(const std::vector<DayPoint>& curve, bool range);
QJsonObject FaultsJson(const std::vector<InvFaultRecord>& records, const std::string& serial);
// What a live update carries: the plant and the list, each with the minutes
// of power the snapshot took.
QJsonObject LiveJson(const PlantSnapshot& snapshot);

std::string JsonText(const QJsonObject& object);
std::string JsonText(const QJsonArray& array);
