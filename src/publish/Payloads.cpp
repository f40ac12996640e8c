#include "Payloads.h"

#include "JsonWriter.h"
#include "StateSample.h"
#include "model/SingleRuntimeData.h"
#include "model/ThreeRuntimeData.h"
#include "platform/TimeText.h"
#include "store/FaultText.h"
#include "store/StationEvent.h"

#include <cmath>

namespace {
void AddTime(JsonWriter& json, std::time_t time) {
    json.Text("time", IsoTimeText(time)).Integer("epoch", time);
}

void AddFault(JsonWriter& json, std::uint32_t errorBits) {
    json.Integer("error_bits", errorBits).Text("fault_text", FaultText(errorBits));
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
        json.Text("fault_value", event.subject.faultValue);
    }
    return json.Finish();
}

// Counts, the figures without a unit, are whole numbers.
std::string PlantPayload(std::time_t when, const std::vector<FieldValue>& values) {
    JsonWriter json;
    AddTime(json, when);
    for (const FieldValue& value : values) {
        if (value.field->unit == nullptr) {
            json.Integer(value.field->key, std::llround(value.value));
        } else {
            json.Number(value.field->key, value.value);
        }
    }
    return json.Finish();
}

std::string FaultEventPayload(const StationEvent& event) {
    JsonWriter json;
    json.Text("event_type",
              event.kind == StationEventKind::FaultOpened ? "fault_opened" : "fault_closed")
        .Text("fault_text", FaultText(event.subject.errorBits))
        .Text("value", event.subject.faultValue)
        .Integer("error_bits", event.subject.errorBits);
    AddTime(json, event.when);
    return json.Finish();
}

std::string LastFaultPayload(const StationEvent& event, std::time_t opened) {
    const bool open = event.kind == StationEventKind::FaultOpened;
    JsonWriter json;
    json.Text("text", FaultText(event.subject.errorBits))
        .Text("value", event.subject.faultValue)
        .Integer("error_bits", event.subject.errorBits);
    AddTime(json, open ? event.when : opened);
    json.Boolean("open", open);
    if (!open) {
        json.Text("ended", IsoTimeText(event.when));
    }
    return json.Finish();
}
