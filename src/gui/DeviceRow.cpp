#include "DeviceRow.h"

#include "PortList.h"
#include "model/InverterGroup.h"
#include "store/BusText.h"

#include <cmath>

namespace {
constexpr double NO_FIGURE = -1.0;

// Problems first when the column is sorted upwards.
int Severity(ConditionKind kind) {
    switch (kind) {
    case ConditionKind::Fault: return 0;
    case ConditionKind::PortLost: return 1;
    case ConditionKind::Offline: return 2;
    case ConditionKind::Stale: return 3;
    case ConditionKind::Removing: return 4;
    case ConditionKind::Normal: return 5;
    }
    return 5;
}

void SetFigure(DeviceRow& row, DeviceColumn column, const QString& text, double value) {
    row.texts[column] = text;
    row.sortKeys[column] = value;
}

void ReadMeasurements(const RuntimeData& data, DeviceRow& row) {
    const bool measured = row.condition.kind != ConditionKind::Offline;
    const auto volts = [](double value) { return QString::asprintf("%0.1f V", value); };
    const auto kilowattHours = [](double value) { return QString::asprintf("%0.1f kWh", value); };
    if (measured) {
        SetFigure(row, VPV1, volts(data.GetVpv1()), data.GetVpv1());
        SetFigure(row, VPV2, volts(data.GetVpv2()), data.GetVpv2());
        const int power = WholeFigure(data.GetOutputPower());
        SetFigure(row, OUT_POWER, QString("%1 W").arg(power), power);
    } else {
        for (const DeviceColumn column : {VPV1, VPV2, OUT_POWER}) {
            SetFigure(row, column, NO_VALUE, NO_FIGURE);
        }
    }
    // Energies are counters: their last known values stay true.
    SetFigure(row, TODAY, kilowattHours(data.GetEToday()), data.GetEToday());
    SetFigure(row, ENERGY, kilowattHours(data.GetETotal()), data.GetETotal());
}
} // namespace

int WholeFigure(double value) {
    // Half to even, as the gauge's "%.0f" rounds.
    return static_cast<int>(std::nearbyint(value));
}

DeviceRow ReadDeviceRow(const CInverter& inverter, const CInverterGroup& group, std::time_t now,
                        int intervalSeconds) {
    DeviceRow row;
    row.comPort = group.m_nComPort;
    row.address = inverter.m_nAddress;
    row.condition = ConditionOf(inverter, now, intervalSeconds);
    row.current =
        row.condition.kind == ConditionKind::Normal || row.condition.kind == ConditionKind::Fault;
    row.texts[STATUS] = QString::fromStdString(ConditionText(row.condition));
    row.sortKeys[STATUS] = Severity(row.condition.kind);
    row.texts[COM_NO] = PortText(group.m_nComPort);
    row.sortKeys[COM_NO] = group.m_nComPort;
    row.texts[ADDRESS] = QString::number(inverter.m_nAddress);
    row.sortKeys[ADDRESS] = inverter.m_nAddress;
    row.texts[SERNO] = BusText(inverter.m_strSerialNo);
    row.sortKeys[SERNO] = row.texts[SERNO];
    row.texts[MODEL] = BusText(inverter.m_strModel);
    row.sortKeys[MODEL] = row.texts[MODEL];
    for (const DeviceColumn column : {VPV1, VPV2, OUT_POWER, TODAY, ENERGY}) {
        row.sortKeys[column] = NO_FIGURE;
    }
    if (inverter.m_pRuntimeData) {
        ReadMeasurements(*inverter.m_pRuntimeData, row);
    }
    row.statusWnd = inverter.m_hStatusWnd.load();
    return row;
}
