#include "Payloads.h"

#include "JsonWriter.h"
#include "StateSample.h"
#include "model/SingleRuntimeData.h"
#include "model/ThreeRuntimeData.h"
#include "platform/TimeText.h"
#include "store/FaultText.h"
#include "store/PlantTotals.h"
#include "store/StationEvent.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {
void AddTime(JsonWriter& json, std::time_t time) {
    json.Text("time", IsoTimeText(time)).Integer("epoch", time);
}

void AddFault(JsonWriter& json, std::uint32_t errorBits) {
    json.Integer("error_bits", errorBits).Text("fault_text", FaultText(errorBits));
}

// Sums of tenths carry binary noise ("691.1999999999999").
double Rounded(double value, double steps) {
    return std::round(value * steps) / steps;
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

std::string StatePayload(const StateSample& sample, const std::vector<FieldValue>& values) {
    JsonWriter json;
    AddTime(json, sample.data->GetSampleTime());
    json.Integer("port", sample.comPort)
        .Integer("address", sample.address)
        .Text("serial", sample.serialNo)
        .Text("model", sample.model)
        .Text("kind", sample.data->GetPhaseType() == 3 ? "three" : "single");
    const Mode mode = ModeOf(*sample.data);
    json.Integer("work_mode", mode.mode).Text("work_mode_text", ModeText(mode.mode));
    AddFault(json, mode.errorBits);
    for (const FieldValue& value : values) {
        json.Number(value.field->key, value.value);
    }
    return json.Finish();
}

std::string EventPayload(const StationEvent& event) {
    JsonWriter json;
    json.Text("event", StationEventName(event.kind));
    AddTime(json, event.when);
    json.Integer("port", event.subject.comPort);
    if (event.subject.address > 0) {
        json.Integer("address", event.subject.address)
            .Text("serial", event.subject.serialNo)
            .Text("model", event.subject.model);
    }
    if (!event.subject.reason.empty()) {
        json.Text("reason", event.subject.reason);
    }
    if (event.kind == StationEventKind::FaultOpened ||
        event.kind == StationEventKind::FaultClosed) {
        AddFault(json, event.subject.errorBits);
    }
    return json.Finish();
}

std::string PlantPayload(const PlantTotals& totals, std::uint64_t dropped) {
    JsonWriter json;
    AddTime(json, totals.when);
    return json.Number("power_w", Rounded(totals.powerW, 10))
        .Number("e_today_kwh", Rounded(totals.eTodayKWh, 100))
        .Number("e_total_kwh", Rounded(totals.eTotalKWh, 10))
        .Integer("inverters_online", totals.answering)
        .Integer("inverters_registered", totals.registered)
        .Integer("dropped_messages", static_cast<std::int64_t>(dropped))
        .Finish();
}
