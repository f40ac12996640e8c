#include "SimInverter.h"

#include "DeviceInfo.h"
#include "FaultOverlay.h"
#include "ReadingModel.h"
#include "ReplyEncoder.h"
#include "RuntimeEncoding.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace sim {

namespace {
// The day the lifetime counters of a new unit start growing from their base.
LocalDayTime CounterOrigin() {
    return LocalDayTime::Midnight(2024, 1, 1);
}

constexpr std::size_t SEND_ADDRESS_LENGTH = SERIAL_NO_LENGTH + 1;
constexpr std::size_t PARAM_WRITE_LENGTH = 2;

bool IsBroadcast(const BusMessage& request) {
    return request.Destination() == BROADCAST_ADDRESS;
}

std::string SerialFromBytes(const std::uint8_t* bytes) {
    const auto* text = reinterpret_cast<const char*>(bytes);
    return {text, strnlen(text, SERIAL_NO_LENGTH)};
}
} // namespace

SimInverter::SimInverter(InverterProfile profile)
    : m_profile(std::move(profile)), m_counters{CounterOrigin(), m_profile.eTotalBase,
                                                m_profile.hTotalBase} {}

InverterReading SimInverter::Reading(std::int64_t now) {
    InverterReading reading = ComputeReading(m_profile, m_counters, now);
    if (m_faults.eTotalShift != 0) {
        const std::int64_t shifted = std::int64_t{reading.eTotal} + m_faults.eTotalShift;
        SetLifetimeEnergy(reading, m_profile.kind,
                          static_cast<std::uint32_t>(std::clamp<std::int64_t>(
                              shifted, 0, std::numeric_limits<std::uint32_t>::max())));
    }
    if (const FaultCondition* fault = m_faults.ActiveCondition(now)) {
        ApplyFault(reading, m_profile, *fault);
        m_lastFault = reading.fault;
    } else {
        reading.fault = m_lastFault;
    }
    return reading;
}

std::optional<std::vector<std::uint8_t>> SimInverter::Answer(const BusMessage& request,
                                                             std::int64_t now) {
    if (m_faults.silent) {
        return std::nullopt;
    }
    const std::optional<BusMessage> reply = Respond(request, now);
    if (!reply) {
        return std::nullopt;
    }
    return EncodeReply(*reply, m_faults);
}

std::optional<BusMessage> SimInverter::Respond(const BusMessage& request, std::int64_t now) {
    if (request.Control() == CTRL_REGISTER) {
        return RespondRegister(request);
    }
    if (!IsAddressedBy(request)) {
        return std::nullopt;
    }
    switch (request.Control()) {
    case CTRL_READ: return RespondRead(request, now);
    case CTRL_WRITE: return RespondWrite(request);
    case CTRL_EXECUTE: return RespondExecute(request, now);
    default: return std::nullopt;
    }
}

bool SimInverter::IsAddressedBy(const BusMessage& request) const {
    return IsRegistered() && request.Destination() == m_address;
}

std::optional<BusMessage> SimInverter::RespondRegister(const BusMessage& request) {
    switch (request.Function()) {
    case FN_OFFLINE_QUERY:
        if (!IsBroadcast(request) || IsRegistered()) {
            return std::nullopt;
        }
        return Reply(request, SerialBytes().data(), SERIAL_NO_LENGTH);
    case FN_SEND_ADDRESS: return IsBroadcast(request) ? TakeAddress(request) : std::nullopt;
    case FN_REMOVE_REGISTER: {
        if (!IsAddressedBy(request)) {
            return std::nullopt;
        }
        const BusMessage reply = Acknowledge(request, !m_faults.nak);
        if (!m_faults.nak) {
            Unregister();
        }
        return reply;
    }
    // A station keeps its records across a reconnect and refuses a serial
    // number it already has, so only re-register makes inverters start over.
    case FN_RECONNECT_ALL: return std::nullopt;
    case FN_RE_REGISTER:
        if (IsBroadcast(request)) {
            Unregister();
        }
        return std::nullopt;
    default: return std::nullopt;
    }
}

std::optional<BusMessage> SimInverter::TakeAddress(const BusMessage& request) {
    const std::uint8_t address = request.Data()[SERIAL_NO_LENGTH];
    const std::vector<std::uint8_t> serial = SerialBytes();
    if (request.Length() < SEND_ADDRESS_LENGTH || address == BROADCAST_ADDRESS ||
        !std::equal(serial.begin(), serial.end(), request.Data())) {
        return std::nullopt;
    }
    if (!m_faults.nak) {
        m_address = address;
    }
    return Acknowledge(request, !m_faults.nak);
}

std::optional<BusMessage> SimInverter::RespondRead(const BusMessage& request, std::int64_t now) {
    switch (request.Function()) {
    case FN_READ_RUNTIME_FORMAT:
        return Reply(request, m_profile.runtimeFields.data(), m_profile.runtimeFields.size());
    case FN_READ_PARAM_FORMAT:
        return Reply(request, m_profile.paramFields.data(), m_profile.paramFields.size());
    case FN_READ_RUNTIME_DATA: {
        const std::vector<std::uint8_t> data =
            EncodeRuntimeData(m_profile.kind, Reading(now), m_profile.runtimeFields);
        return Reply(request, data.data(), data.size());
    }
    case FN_READ_DEVICE_INFO: {
        const auto info = EncodeDeviceInfo(m_profile);
        return Reply(request, info.data(), info.size());
    }
    case FN_READ_PARAM_VALUES: {
        std::vector<std::uint8_t> data;
        for (const std::uint8_t id : m_profile.paramFields) {
            const std::uint16_t value = m_params.Value(id).value_or(0);
            data.push_back(static_cast<std::uint8_t>(value >> 8));
            data.push_back(static_cast<std::uint8_t>(value & 0xFF));
        }
        return Reply(request, data.data(), data.size());
    }
    default: return std::nullopt;
    }
}

BusMessage SimInverter::RespondWrite(const BusMessage& request) {
    if (m_faults.nak) {
        return Acknowledge(request, false);
    }
    if (request.Function() == FN_WRITE_SERIAL_NO) {
        const bool complete = request.Length() == SERIAL_NO_LENGTH;
        if (complete) {
            m_profile.serialNo = SerialFromBytes(request.Data());
        }
        return Acknowledge(request, complete);
    }
    const bool accepted =
        request.Length() == PARAM_WRITE_LENGTH &&
        m_params.Write(request.Function(),
                       static_cast<std::uint16_t>(request.Data()[0] << 8 | request.Data()[1]));
    return Acknowledge(request, accepted);
}

BusMessage SimInverter::RespondExecute(const BusMessage& request, std::int64_t now) {
    const bool accepted = !m_faults.nak && request.Function() == FN_RESET_TOTALS;
    if (accepted) {
        ResetTotals(now);
    }
    return Acknowledge(request, accepted);
}

void SimInverter::ResetTotals(std::int64_t now) {
    m_counters = {LocalDayTime::FromTime(now), 0, 0};
}

BusMessage SimInverter::Reply(const BusMessage& request, const std::uint8_t* data,
                              std::size_t length) const {
    BusMessage reply;
    reply.bytes[0] = m_address;
    reply.bytes[1] = MONITOR_ADDRESS;
    reply.bytes[2] = request.Control();
    reply.bytes[3] = static_cast<std::uint8_t>(~request.Function());
    reply.bytes[4] = static_cast<std::uint8_t>(length);
    std::copy_n(data, length, reply.Data());
    return reply;
}

BusMessage SimInverter::Acknowledge(const BusMessage& request, bool accepted) const {
    const std::uint8_t answer = accepted ? ACK : NAK;
    return Reply(request, &answer, 1);
}

std::vector<std::uint8_t> SimInverter::SerialBytes() const {
    std::vector<std::uint8_t> bytes(SERIAL_NO_LENGTH, 0);
    std::copy_n(m_profile.serialNo.begin(), std::min(SERIAL_NO_LENGTH, m_profile.serialNo.size()),
                bytes.begin());
    return bytes;
}

} // namespace sim
