#include "Payloads.h"

#include "StateSample.h"
#include "model/SingleRuntimeData.h"
#include "model/ThreeRuntimeData.h"
#include "store/FaultText.h"
#include "store/PlantTotals.h"
#include "store/StationEvent.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {
QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

void AddTime(QJsonObject& object, std::time_t time) {
    object.insert("time", Text(IsoTimeText(time)));
    object.insert("epoch", static_cast<qint64>(time));
}

void AddFault(QJsonObject& object, std::uint32_t errorBits) {
    object.insert("error_bits", static_cast<qint64>(errorBits));
    object.insert("fault_text", Text(FaultText(errorBits)));
}

// Sums of tenths carry binary noise ("691.1999999999999").
double Rounded(double value, double steps) {
    return std::round(value * steps) / steps;
}

QByteArray Compact(const QJsonObject& object) {
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

struct Mode {
    int mode = 0;
    std::uint32_t errorBits = 0;
};

Mode ModeOf(const RuntimeData& data) {
    if (const auto* single = dynamic_cast<const SingleRuntimeData*>(&data)) {
        return {single->m_nMode, single->m_dwErrorBits};
    }
    const auto& three = dynamic_cast<const ThreeRuntimeData&>(data);
    return {three.m_nMode, three.m_dwErrorBits};
}
} // namespace

std::string IsoTimeText(std::time_t time) {
    std::tm local{};
    localtime_r(&time, &local);
    char text[40];
    const std::size_t length = std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &local);
    const long offset = local.tm_gmtoff / 60;
    std::snprintf(text + length, sizeof text - length, "%c%02ld:%02ld", offset < 0 ? '-' : '+',
                  std::labs(offset) / 60, std::labs(offset) % 60);
    return text;
}

QByteArray StatePayload(const StateSample& sample, const std::vector<FieldValue>& values) {
    QJsonObject state;
    AddTime(state, sample.data->GetSampleTime());
    state.insert("port", sample.comPort);
    state.insert("address", sample.address);
    state.insert("serial", Text(sample.serialNo));
    state.insert("model", Text(sample.model));
    state.insert("kind", sample.data->GetPhaseType() == 3 ? "three" : "single");
    const Mode mode = ModeOf(*sample.data);
    state.insert("work_mode", mode.mode);
    state.insert("work_mode_text", Text(ModeText(mode.mode)));
    AddFault(state, mode.errorBits);
    for (const FieldValue& value : values) {
        state.insert(value.field->key, value.value);
    }
    return Compact(state);
}

QByteArray EventPayload(const StationEvent& event) {
    QJsonObject object;
    object.insert("event", StationEventName(event.kind));
    AddTime(object, event.when);
    object.insert("port", event.subject.comPort);
    if (event.subject.address > 0) {
        object.insert("address", event.subject.address);
        object.insert("serial", Text(event.subject.serialNo));
        object.insert("model", Text(event.subject.model));
    }
    if (event.kind == StationEventKind::FaultOpened ||
        event.kind == StationEventKind::FaultClosed) {
        AddFault(object, event.subject.errorBits);
    }
    return Compact(object);
}

QByteArray PlantPayload(const PlantTotals& totals, std::uint64_t dropped) {
    QJsonObject object;
    AddTime(object, totals.when);
    object.insert("power_w", Rounded(totals.powerW, 10));
    object.insert("e_today_kwh", Rounded(totals.eTodayKWh, 100));
    object.insert("e_total_kwh", Rounded(totals.eTotalKWh, 10));
    object.insert("inverters_online", totals.answering);
    object.insert("inverters_registered", totals.registered);
    object.insert("dropped_messages", static_cast<qint64>(dropped));
    return Compact(object);
}
