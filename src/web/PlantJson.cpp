#include "PlantJson.h"

#include "NumberText.h"
#include "ParamTexts.h"
#include "SampleFields.h"
#include "publish/StateFields.h"
#include "store/BusText.h"
#include "store/FaultRowText.h"
#include "store/FaultText.h"

#include <QJsonDocument>
#include <set>

namespace {
constexpr int WATT_DECIMALS = 1;
constexpr int KWH_DECIMALS = 2;

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

QJsonValue Number(double value, int decimals) {
    return Rounded(value, decimals);
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

// The list row. An offline inverter has no live values (null); its energy
// counters keep their last known values, as the plant totals do.
QJsonObject RowJson(const InverterView& inverter, std::time_t now) {
    QJsonObject row{{"port", inverter.port},
                    {"address", inverter.address},
                    {"serial", BusText(inverter.serial)},
                    {"model", BusText(inverter.model)},
                    {"online", inverter.online},
                    {"rated_power", inverter.ratedPower},
                    {"status", StatusOf(inverter)},
                    {"freshness", FreshnessName(inverter.freshness)}};
    const RuntimeData* data = inverter.sample.get();
    const bool live = data != nullptr && inverter.freshness != Freshness::Offline;
    const QJsonValue none(QJsonValue::Null);
    row["vpv1"] = live ? Number(data->GetVpv1(), 1) : none;
    row["vpv2"] = live ? Number(data->GetVpv2(), 1) : none;
    row["power"] = live ? Number(data->GetOutputPower(), WATT_DECIMALS) : none;
    row["energy_total"] = data != nullptr ? Number(data->GetETotal(), 1) : none;
    row["energy_today"] = data != nullptr ? Number(data->GetEToday(), KWH_DECIMALS) : none;
    row["sample_time"] =
        data != nullptr ? QJsonValue(static_cast<double>(data->GetSampleTime())) : none;
    row["age"] =
        data != nullptr ? QJsonValue(static_cast<double>(now - data->GetSampleTime())) : none;
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

QJsonArray SampleJson(const InverterView& inverter) {
    QJsonArray sample;
    if (!inverter.sample) {
        return sample;
    }
    std::vector<FieldValue> values;
    DecodedValues(*inverter.sample, OfferedFieldsOf(inverter.fields), values);
    for (const FieldValue& value : values) {
        if (value.field->IsSensor()) {
            sample.append(QJsonObject{{"key", value.field->key},
                                      {"name", value.field->name},
                                      {"unit", value.field->unit},
                                      {"value", value.value}});
        }
    }
    return sample;
}

QJsonArray ParamsJson(const InverterView& inverter) {
    QJsonArray params;
    for (const ParamView& param : inverter.params) {
        const ParamText text = ParamTextOf(param.identifier, param.value);
        params.append(QJsonObject{{"id", param.identifier},
                                  {"name", QString::fromStdString(text.name)},
                                  {"meaning", QString::fromStdString(text.meaning)},
                                  {"unit", QString::fromStdString(text.unit)},
                                  {"value", text.value},
                                  {"decimals", text.decimals},
                                  {"raw", param.value}});
    }
    return params;
}
} // namespace

QJsonObject PlantJson(const PlantSnapshot& snapshot) {
    const PlantTotals& totals = snapshot.totals;
    QJsonArray ports;
    for (const PortView& port : snapshot.ports) {
        ports.append(PortJson(port));
    }
    return {{"time", static_cast<double>(snapshot.taken)},
            {"power", Number(totals.powerW, WATT_DECIMALS)},
            {"energy_today", Number(totals.eTodayKWh, KWH_DECIMALS)},
            {"energy_total", Number(totals.eTotalKWh, 1)},
            {"inverters", totals.registered},
            {"inverters_online", totals.answering},
            {"inverters_reporting", totals.reporting},
            {"inverters_faulty", totals.faults},
            {"inverters_offline", totals.offline},
            {"ports_lost", totals.portsLost},
            {"ports", ports},
            {"broker", BrokerJson(snapshot.broker)}};
}

QJsonArray InverterListJson(const PlantSnapshot& snapshot) {
    QJsonArray list;
    for (const InverterView& inverter : snapshot.inverters) {
        list.append(RowJson(inverter, snapshot.taken));
    }
    return list;
}

QJsonObject InverterJson(const InverterView& inverter, std::time_t now) {
    QJsonObject object = RowJson(inverter, now);
    object["firmware"] = BusText(inverter.firmware);
    object["manufacturer"] = BusText(inverter.manufacturer);
    object["phase_type"] = inverter.phaseType;
    object["error_code"] = static_cast<double>(inverter.errorCode);
    const int mode = inverter.sample ? GridReadingsOf(*inverter.sample).mode : inverter.lastMode;
    object["mode"] = mode;
    object["mode_text"] = QString::fromStdString(ModeText(mode));
    object["fault_text"] = BusText(FaultText(inverter.errorCode));
    object["sample"] = SampleJson(inverter);
    object["params"] = ParamsJson(inverter);
    object["open_fault"] = inverter.openFault ? QJsonValue(FaultJson(*inverter.openFault))
                                              : QJsonValue(QJsonValue::Null);
    return object;
}

QJsonArray CurveJson(const std::vector<DayPoint>& curve, bool range) {
    QJsonArray points;
    for (const DayPoint& point : curve) {
        QJsonArray each{static_cast<double>(point.time), Rounded(point.watts, WATT_DECIMALS)};
        if (range) {
            each.append(Rounded(point.low, WATT_DECIMALS));
            each.append(Rounded(point.high, WATT_DECIMALS));
        }
        points.append(each);
    }
    return points;
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
    QJsonObject plant = PlantJson(snapshot);
    plant["minutes"] = CurveJson(snapshot.plantMinutes, false);
    QJsonArray list;
    for (const InverterView& inverter : snapshot.inverters) {
        QJsonObject row = RowJson(inverter, snapshot.taken);
        row["minutes"] = CurveJson(inverter.minutes, true);
        list.append(row);
    }
    return {{"plant", plant}, {"inverters", list}};
}

std::string JsonText(const QJsonObject& object) {
    return QJsonDocument(object).toJson(QJsonDocument::Compact).toStdString();
}

std::string JsonText(const QJsonArray& array) {
    return QJsonDocument(array).toJson(QJsonDocument::Compact).toStdString();
}
