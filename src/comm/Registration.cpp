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
#include <chrono>
#include <cstring>
#include <random>
#include <string>

namespace {
using namespace std::chrono_literals;
using SerialBytes = std::array<std::uint8_t, SERIAL_NO_LENGTH>;

constexpr int BITS_PER_CHARACTER = 10;
constexpr int DEFAULT_BAUD = 9600;
constexpr int MOST_ANSWER_TIMES_TO_WAIT = 4;

// How a registration attempt ended.
enum class Attempt { NOBODY, GARBLED, FAILED, REGISTERED };

// NOBODY, GARBLED (several answers at once, most likely), FAILED when the
// query could not be sent, REGISTERED with the serial number that answered.
Attempt QueryOfflineSerial(CommSession& session, SerialBytes& serial) {
    session.request.SetRequest(BROADCAST_ADDRESS, CTRL_REGISTER, FN_OFFLINE_QUERY);
    if (!SendCommand(session.group, session.request)) {
        return Attempt::FAILED;
    }
    session.group.m_tLastRegister = session.Mark();
    const ReplyCheck check =
        ReceiveCheckedReply(session.group, session.reply, FN_OFFLINE_QUERY, false, true);
    if (check == ReplyCheck::NoReply) {
        // Silence, not a garbled answer, means every inverter has its address.
        session.group.m_bRegistrationRoundDone = 1;
        return Attempt::NOBODY;
    }
    if (check != ReplyCheck::Accepted || session.reply.Length() != SERIAL_NO_LENGTH) {
        return Attempt::GARBLED;
    }
    std::copy_n(session.reply.Data(), SERIAL_NO_LENGTH, serial.begin());
    return Attempt::REGISTERED;
}

// Inverters that answered at once back off by their own rules; the next query
// goes after one to four times an answer's length on the wire, at random, so
// that it does not fall in step with them.
std::chrono::milliseconds PauseAfterGarble(CommSession& session) {
    const int baud = session.group.m_nBaudRate > 0 ? session.group.m_nBaudRate : DEFAULT_BAUD;
    const auto answerMs = static_cast<int>((FRAME_OVERHEAD + SERIAL_NO_LENGTH) *
                                           BITS_PER_CHARACTER * 1000 / static_cast<unsigned>(baud));
    std::uniform_int_distribution<int> pause(answerMs, MOST_ANSWER_TIMES_TO_WAIT * answerMs);
    return std::chrono::milliseconds(pause(session.random));
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

// REGISTERED when an inverter that answered the offline query took an address.
Attempt RegisterOne(CommSession& session) {
    SerialBytes serial{};
    if (const Attempt query = QueryOfflineSerial(session, serial); query != Attempt::REGISTERED) {
        return query;
    }
    if (const CInverter* known = session.group.FindBySerial(SerialText(serial))) {
        return ReAddress(session, serial, *known) ? Attempt::REGISTERED : Attempt::FAILED;
    }
    CInverter* inverter = JoinGroup(session, serial);
    // The record stays in the group with whatever state it reached, even if
    // a later exchange of the registration fails.
    if (inverter == nullptr || !ConfirmAddress(session, serial, inverter->m_nAddress)) {
        return Attempt::FAILED;
    }
    ReadDeviceInfo(session, *inverter);
    ReadRuntimeFormat(session, *inverter);
    ReadParamFormat(session, *inverter);
    ReadParamValues(session, *inverter);
    session.PostToList(WM_INVERTER_UPDATED, inverter);
    return Attempt::REGISTERED;
}
} // namespace

CommStep RegisterNewInverter(CommSession& session) {
    // In fast mode a run of new inverters registers one after another, until
    // an attempt registers nobody, and a garbled answer is asked again soon.
    const bool runGoesOn = session.InQuickRun();
    const auto start = session.Mark().m_monotonic;
    const Attempt attempt = RegisterOne(session);
    const auto end = session.Mark().m_monotonic;
    session.longestAttempt = std::max(runGoesOn ? session.longestAttempt : 0ms, end - start);
    const bool fast = g_bFastReplies.load();
    session.registerAtOnce = fast && attempt == Attempt::REGISTERED;
    session.retryAt.reset();
    if (fast && attempt == Attempt::GARBLED) {
        session.retryAt = end + PauseAfterGarble(session);
    }
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
