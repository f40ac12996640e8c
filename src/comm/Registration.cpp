#include "Registration.h"

#include "CommSession.h"
#include "CommShared.h"
#include "DeviceDescription.h"
#include "InverterCommands.h"
#include "Transaction.h"
#include "WindowMessages.h"
#include "model/InverterGroup.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>

namespace {
using SerialBytes = std::array<std::uint8_t, SERIAL_NO_LENGTH>;

bool QueryOfflineSerial(CommSession& session, SerialBytes& serial) {
    session.request.SetRequest(BROADCAST_ADDRESS, CTRL_REGISTER, FN_OFFLINE_QUERY);
    if (!SendCommand(session.group, session.request)) {
        return false;
    }
    session.group.m_tLastRegister = session.Mark();
    const std::uint64_t rejectedBefore = session.group.m_rejects.Total();
    if (!ReceiveReply(session.group, session.reply, FN_OFFLINE_QUERY, false, true)) {
        // Silence, not a garbled answer, means every inverter has its address.
        if (session.group.m_rejects.Total() == rejectedBefore) {
            session.group.m_bRegistrationRoundDone = 1;
        }
        return false;
    }
    if (session.reply.Length() != SERIAL_NO_LENGTH) {
        return false;
    }
    std::copy_n(session.reply.Data(), SERIAL_NO_LENGTH, serial.begin());
    return true;
}

std::string SerialText(const SerialBytes& serial) {
    const auto* text = reinterpret_cast<const char*>(serial.data());
    return std::string(text, strnlen(text, serial.size()));
}

CInverter* JoinGroup(CommSession& session, const SerialBytes& serial) {
    const std::uint8_t address = session.group.AllocateAddress(serial.data(), serial.size());
    if (address == CInverterGroup::NO_ADDRESS || address > CInverterGroup::MAX_ADDRESS) {
        return nullptr;
    }
    auto created = session.group.CreateInverter(address);
    if (!created) {
        return nullptr;
    }
    created->m_strSerialNo = SerialText(serial);
    created->m_strBusSerialNo = created->m_strSerialNo;
    CInverter* inverter = session.group.AppendInverter(std::move(created));
    session.PostToList(WM_INVERTER_REGISTERED, inverter);
    return inverter;
}

bool ConfirmAddress(CommSession& session, const SerialBytes& serial, std::uint8_t address) {
    session.request.SetRequest(BROADCAST_ADDRESS, CTRL_REGISTER, FN_SEND_ADDRESS,
                               SERIAL_NO_LENGTH + 1);
    std::copy(serial.begin(), serial.end(), session.request.Data());
    session.request.Data()[SERIAL_NO_LENGTH] = address;
    return session.Exchange(FN_SEND_ADDRESS, true);
}

// An inverter that restarted and forgot its address answers the offline query
// again: it gets its record's address back, unless a device still answers
// there, for then the one that asked is a second device with that number.
bool ReAddress(CommSession& session, const SerialBytes& serial, const CInverter& known) {
    session.request.SetRequest(known.m_nAddress, CTRL_READ, FN_READ_RUNTIME_DATA);
    return !session.Exchange(FN_READ_RUNTIME_DATA, false) &&
           ConfirmAddress(session, serial, known.m_nAddress);
}

// A field list reply replaces the stored list; a failed query keeps it.
void ReadFieldList(CommSession& session, CInverter& inverter, std::uint8_t function,
                   std::vector<std::uint8_t> CInverter::*list) {
    session.request.SetRequest(inverter.m_nAddress, CTRL_READ, function);
    if (!session.Exchange(function, false)) {
        return;
    }
    const std::uint8_t* data = session.reply.Data();
    auto lock = inverter.Lock();
    (inverter.*list).assign(data, data + session.reply.Length());
}

// True when an inverter that answered the offline query took an address.
bool RegisterOne(CommSession& session) {
    SerialBytes serial{};
    if (!QueryOfflineSerial(session, serial)) {
        return false;
    }
    if (const CInverter* known = session.group.FindBySerial(SerialText(serial))) {
        return ReAddress(session, serial, *known);
    }
    CInverter* inverter = JoinGroup(session, serial);
    // The record stays in the group with whatever state it reached, even if
    // a later exchange of the registration fails.
    if (inverter == nullptr || !ConfirmAddress(session, serial, inverter->m_nAddress)) {
        return false;
    }
    ReadDeviceInfo(session, *inverter);
    ReadRuntimeFormat(session, *inverter);
    ReadParamFormat(session, *inverter);
    ReadParamValues(session, *inverter);
    session.PostToList(WM_INVERTER_UPDATED, inverter);
    return true;
}
} // namespace

CommStep RegisterNewInverter(CommSession& session) {
    // In fast mode a run of new inverters registers one after another, until
    // an attempt registers nobody.
    session.registerAtOnce = RegisterOne(session) && g_bFastReplies.load();
    session.pollsTurn = true;
    return STEP_SCHEDULE;
}

void BroadcastReRegister(CommSession& session) {
    session.request.SetRequest(BROADCAST_ADDRESS, CTRL_REGISTER, FN_RE_REGISTER);
    // No inverter answers a broadcast; a port that failed is told by the next
    // open it needs.
    static_cast<void>(SendCommand(session.group, session.request));
}

void ReadDeviceInfo(CommSession& session, CInverter& inverter) {
    session.request.SetRequest(inverter.m_nAddress, CTRL_READ, FN_READ_DEVICE_INFO);
    if (!session.Exchange(FN_READ_DEVICE_INFO, false) ||
        session.reply.Length() != DEVICE_INFO_LENGTH) {
        return;
    }
    ApplyDeviceDescription(inverter, ParseDeviceDescription(session.reply.Data()));
}

void ReadRuntimeFormat(CommSession& session, CInverter& inverter) {
    ReadFieldList(session, inverter, FN_READ_RUNTIME_FORMAT, &CInverter::m_runtimeFormat);
}

void ReadParamFormat(CommSession& session, CInverter& inverter) {
    ReadFieldList(session, inverter, FN_READ_PARAM_FORMAT, &CInverter::m_paramFormat);
}

void ReadParamValues(CommSession& session, CInverter& inverter) {
    session.request.SetRequest(inverter.m_nAddress, CTRL_READ, FN_READ_PARAM_VALUES);
    if (!session.Exchange(FN_READ_PARAM_VALUES, false)) {
        return;
    }
    const std::uint8_t* data = session.reply.Data();
    const std::size_t values = session.reply.Length() / 2;
    auto lock = inverter.Lock();
    const std::size_t count = std::min(values, inverter.m_paramFormat.size());
    for (std::size_t i = 0; i < count; ++i) {
        const auto value = static_cast<std::uint16_t>(data[2 * i] << 8 | data[2 * i + 1]);
        StoreParamValue(inverter.m_paramFormat[i], value, inverter);
    }
}
