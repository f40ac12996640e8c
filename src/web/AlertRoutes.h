#pragma once

#include "WebRoute.h"
#include "alerts/AlertsSnapshot.h"

#include <QJsonObject>

// The alerts that hold now, the last ones sent with what became of them on
// each channel, and each channel's counts.
QJsonObject AlertsJson(const AlertsSnapshot& snapshot);

WebRoute AlertsRoute;
