#include "PlantJson.h"

#include "SampleFields.h"
#include "store/BusText.h"
#include "store/FaultRowText.h"

#include <QJsonDocument>
#include <set>

namespace {
const char* StatusOf(const InverterView& inverter) {
    if (!inverter.online) {
        return "offline";
    }
    switch (inverter.errorState) {
    case 1: return "normal";
    case 2: return "fault";
    default: return "unknown";
    }
}

QJsonObject PortJson(const PortView& port) {
    QJsonObject rejects;
    for (const auto& [check, count] : port.rejects) {
        rejects[ReplyCheckText(check)] = static_cast<double>(count);
    }
    return {{"port", port.port},
            {"open", port.open},
            {"problem", QString::fromStdString(port.problem)},
            {"polls", static_cast<double>(port.polls)},
            {"failed_polls", static_cast<double>(port.failedPolls)},
            {"reopens", static_cast<double>(port.reopens)},
            {"rejects", rejects}};
}

const char* BrokerStateText(BrokerStatus::State state) {
    switch (state) {
    case BrokerStatus::State::Disabled: return "disabled";
    case BrokerStatus::State::Connecting: return "connecting";
    case BrokerStatus::State::Connected: return "connected";
    case BrokerStatus::State::Lost: return "lost";
    }
    return "unknown";
}

QJsonObject BrokerJson(const BrokerStatus& broker) {
    return {{"state", BrokerStateText(broker.state)},
            {"reason", QString::fromStdString(broker.reason)},
            {"queued", static_cast<double>(broker.queued)},
            {"dropped", static_cast<double>(broker.dropped)}};
}

// The list row: the desktop shows zeros for live values while offline.
QJsonObject RowJson(const InverterView& inverter) {
    QJsonObject row{{"port", inverter.port},
                    {"address", inverter.address},
                    {"serial", BusText(inverter.serial)},
                    {"model", BusText(inverter.model)},
                    {"online", inverter.online},
                    {"rated_power", inverter.ratedPower},
                    {"status", StatusOf(inverter)}};
    const RuntimeData* data = inverter.sample.get();
    const bool live = data != nullptr && inverter.online;
    row["vpv1"] = live ? data->GetVpv1() : 0.0;
    row["vpv2"] = live ? data->GetVpv2() : 0.0;
    row["power"] = live ? data->GetOutputPower() : 0.0;
    row["energy_total"] = data != nullptr ? data->GetETotal() : 0.0;
    row["energy_today"] = data != nullptr ? data->GetEToday() : 0.0;
    row["sample_time"] = data != nullptr ? static_cast<double>(data->GetSampleTime()) : 0.0;
    return row;
}

QJsonObject FaultJson(const InvFaultRecord& record) {
    const FaultRowTexts texts = FaultRowTextsOf(record);
    return {{"serial", BusText(texts[FAULT_SERNO])},
            {"start_time", QString::fromStdString(texts[FAULT_START_TIME])},
            {"error_time", QString::fromStdString(texts[FAULT_ERROR_TIME])},
            {"mode", QString::fromStdString(texts[FAULT_MODE])},
            {"message", QString::fromStdString(texts[FAULT_MESSAGE])},
            {"value", QString::fromStdString(texts[FAULT_VALUE])}};
}
} // namespace

QJsonObject PlantJson(const PlantSnapshot& snapshot) {
    const SnapshotTotals totals = snapshot.Totals();
    QJsonArray ports;
    for (const PortView& port : snapshot.ports) {
        ports.append(PortJson(port));
    }
    return {{"time", static_cast<double>(snapshot.taken)},
            {"power", totals.powerW},
            {"energy_today", totals.energyTodayKwh},
            {"energy_total", totals.energyTotalKwh},
            {"inverters", totals.inverters},
            {"inverters_online", totals.online},
            {"ports", ports},
            {"broker", BrokerJson(snapshot.broker)}};
}

QJsonArray InverterListJson(const PlantSnapshot& snapshot) {
    QJsonArray list;
    for (const InverterView& inverter : snapshot.inverters) {
        list.append(RowJson(inverter));
    }
    return list;
}

QJsonObject InverterJson(const InverterView& inverter) {
    QJsonObject object = RowJson(inverter);
    object["firmware"] = BusText(inverter.firmware);
    object["manufacturer"] = BusText(inverter.manufacturer);
    object["phase_type"] = inverter.phaseType;
    object["error_code"] = static_cast<double>(inverter.errorCode);
    object["mode"] = inverter.lastMode;
    QJsonArray sample;
    if (inverter.sample) {
        for (const SampleField& field : SampleFieldsOf(*inverter.sample)) {
            sample.append(QJsonObject{{"name", QString::fromStdString(field.name)},
                                      {"unit", QString::fromStdString(field.unit)},
                                      {"value", field.value}});
        }
    }
    object["sample"] = sample;
    QJsonArray params;
    for (const ParamView& param : inverter.params) {
        params.append(QJsonObject{{"id", param.identifier}, {"value", param.value}});
    }
    object["params"] = params;
    object["open_fault"] = inverter.openFault ? QJsonValue(FaultJson(*inverter.openFault))
                                              : QJsonValue(QJsonValue::Null);
    return object;
}

QJsonObject FaultsJson(const std::vector<InvFaultRecord>& records, const std::string& serial) {
    std::set<std::string> serials;
    QJsonArray faults;
    for (const InvFaultRecord& record : records) {
        const std::string recordSerial = FaultSerialText(record);
        serials.insert(recordSerial);
        if (serial.empty() || recordSerial == serial) {
            faults.append(FaultJson(record));
        }
    }
    QJsonArray serialList;
    for (const std::string& each : serials) {
        serialList.append(BusText(each));
    }
    return {{"serials", serialList}, {"faults", faults}};
}

QJsonObject LiveJson(const PlantSnapshot& snapshot) {
    return {{"plant", PlantJson(snapshot)}, {"inverters", InverterListJson(snapshot)}};
}

std::string JsonText(const QJsonObject& object) {
    return QJsonDocument(object).toJson(QJsonDocument::Compact).toStdString();
}

std::string JsonText(const QJsonArray& array) {
    return QJsonDocument(array).toJson(QJsonDocument::Compact).toStdString();
}
