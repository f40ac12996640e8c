#pragma once

#include "store/InverterCondition.h"

#include <QString>
#include <QVariant>
#include <array>
#include <ctime>

class CInverter;
class CInverterGroup;
class MessageTarget;

// The inverter list's columns, in the order of their indexes.
enum DeviceColumn {
    STATUS,
    COM_NO,
    ADDRESS,
    SERNO,
    MODEL,
    VPV1,
    VPV2,
    OUT_POWER,
    TODAY,
    ENERGY,
    DEVICE_COLUMNS
};

// What one row of the inverter list shows, read from its record in one go.
struct DeviceRow {
    int comPort = 0;
    int address = 0;
    std::array<QString, DEVICE_COLUMNS> texts;
    std::array<QVariant, DEVICE_COLUMNS> sortKeys;
    InverterCondition condition;
    // False while the values are not current (stale, offline, removing).
    bool current = false;
    MessageTarget* statusWnd = nullptr;
};

// With the inverter's group locked.
DeviceRow ReadDeviceRow(const CInverter& inverter, const CInverterGroup& group, std::time_t now,
                        int intervalSeconds);

// Where a measurement has no current value: never a bare 0.
inline const QString NO_VALUE = QStringLiteral("\u2014");

// A figure as every field and gauge shows it: rounded to whole units.
int WholeFigure(double value);
