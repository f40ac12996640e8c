#include "FaultTracking.h"

#include "FaultRecordFile.h"
#include "FaultText.h"
#include "model/ErrorState.h"
#include "model/Inverter.h"
#include "model/NoTime.h"
#include "model/SerialNumber.h"
#include "model/SingleRuntimeData.h"
#include "model/ThreeRuntimeData.h"

#include <algorithm>
#include <cstdint>
#include <optional>

namespace {
constexpr int NORMAL_MODE = 1;
constexpr std::uint32_t ANY_NEXT_FAULT = 0xFFFFFFFFU;

struct FaultSample {
    std::time_t time;
    int mode;
    std::uint32_t errorBits;
};

// A record to write once the group lock is released.
struct PendingStore {
    InvFaultRecord record;
    int index;
    bool opensRecord;
};

template <typename Data>
std::optional<FaultSample> ReadSample(const CInverter& inverter) {
    const auto* data = dynamic_cast<const Data*>(inverter.m_pRuntimeData.get());
    if (data == nullptr) {
        return std::nullopt;
    }
    return FaultSample{data->m_tSample, data->m_nMode, data->m_dwErrorBits};
}

void SetErrorFields(CInverter& inverter, std::uint32_t errorBits) {
    inverter.m_dwErrorCode = errorBits;
    inverter.m_nErrorState = errorBits != 0 ? ERROR_STATE_FAULT : ERROR_STATE_CLEAR;
}

bool IsFaultMode(int mode) {
    return mode > NORMAL_MODE;
}

void CopySerialNo(const std::string& serialNo, std::array<char, SERIAL_NO_LENGTH>& field) {
    field.fill('\0');
    std::copy_n(serialNo.begin(), std::min(serialNo.size(), field.size()), field.begin());
}

// Starts from a fresh record, so values of an earlier fault never carry over.
PendingStore OpenRecord(CInverter& inverter, const FaultSample& sample) {
    inverter.m_nLastMode = sample.mode;
    InvFaultRecord& record = inverter.m_faultRecord;
    record = InvFaultRecord{};
    CopySerialNo(inverter.m_strSerialNo, record.serialNo);
    record.startTime = static_cast<std::int32_t>(sample.time);
    record.endTime = static_cast<std::int32_t>(g_tNoTime);
    record.mode = static_cast<std::uint16_t>(sample.mode);
    record.errorBits = sample.errorBits;
    CaptureFaultValues(inverter);
    return PendingStore{record, -1, true};
}

PendingStore CloseRecord(CInverter& inverter, const FaultSample& sample) {
    inverter.m_nLastMode = sample.mode;
    inverter.m_faultRecord.endTime = static_cast<std::int32_t>(sample.time);
    return PendingStore{inverter.m_faultRecord, inverter.m_nFaultRecordIndex, false};
}

void Store(CInverter& inverter, const std::optional<PendingStore>& pending) {
    if (!pending) {
        return;
    }
    const int index = StoreFaultRecord(pending->record, pending->index);
    if (pending->opensRecord) {
        auto lock = inverter.Lock();
        inverter.m_nFaultRecordIndex = index;
    }
}

void CaptureSingle(const SingleRuntimeData& data, int bit, InvFaultRecord& record) {
    switch (bit) {
    case 8:
    case 26:
    case 27: record.value1 = data.m_nFaultZac; break;
    case 10: record.value1 = data.m_nFaultGfci; break;
    case 13: record.value1 = data.m_nFaultTemp; break;
    case 15: record.value1 = data.m_nFaultVpv; break;
    case 16:
    case 17: record.value1 = data.m_nFaultVac; break;
    case 28:
    case 29: record.value1 = data.m_nFaultFac; break;
    default: break;
    }
}

void CopyThree(const std::uint16_t (&values)[3], InvFaultRecord& record) {
    record.value1 = values[0];
    record.value2 = values[1];
    record.value3 = values[2];
}

void CaptureThree(const ThreeRuntimeData& data, int bit, InvFaultRecord& record) {
    switch (bit) {
    case 10: record.value1 = data.m_nFaultGfci; break;
    case 13: record.value1 = data.m_nFaultTemp; break;
    case 15: CopyThree(data.m_nFaultVpv, record); break;
    case 16:
    case 17: CopyThree(data.m_nFaultVac, record); break;
    case 28:
    case 29: CopyThree(data.m_nFaultFac, record); break;
    default: break;
    }
}
} // namespace

void CaptureFaultValues(CInverter& inverter) {
    auto lock = inverter.Lock();
    InvFaultRecord& record = inverter.m_faultRecord;
    const int bit = LowestSetBit(record.errorBits);
    const RuntimeData* data = inverter.m_pRuntimeData.get();
    if (bit < 0 || data == nullptr) {
        return;
    }
    if (const auto* single = dynamic_cast<const SingleRuntimeData*>(data)) {
        CaptureSingle(*single, bit, record);
    } else if (const auto* three = dynamic_cast<const ThreeRuntimeData*>(data)) {
        CaptureThree(*three, bit, record);
    }
}

void TrackFaultsSingle(CInverter& inverter) {
    std::optional<PendingStore> pending;
    {
        auto lock = inverter.Lock();
        const std::optional<FaultSample> sample = ReadSample<SingleRuntimeData>(inverter);
        if (!sample) {
            return;
        }
        SetErrorFields(inverter, sample->errorBits);
        if (IsFaultMode(sample->mode)) {
            if (sample->errorBits != inverter.m_faultRecord.errorBits) {
                pending = OpenRecord(inverter, *sample);
            }
        } else if (IsFaultMode(inverter.m_nLastMode)) {
            pending = CloseRecord(inverter, *sample);
            inverter.m_faultRecord.errorBits = ANY_NEXT_FAULT;
        }
    }
    Store(inverter, pending);
}

void TrackFaultsThree(CInverter& inverter) {
    std::optional<PendingStore> pending;
    {
        auto lock = inverter.Lock();
        const std::optional<FaultSample> sample = ReadSample<ThreeRuntimeData>(inverter);
        if (!sample) {
            return;
        }
        // Three-phase inverters get an error state too, so that their status
        // shows and their power counts in the plant total.
        SetErrorFields(inverter, sample->errorBits);
        if (IsFaultMode(sample->mode)) {
            if (sample->mode != inverter.m_nLastMode) {
                pending = OpenRecord(inverter, *sample);
            }
        } else if (IsFaultMode(inverter.m_nLastMode)) {
            pending = CloseRecord(inverter, *sample);
        }
    }
    Store(inverter, pending);
}
