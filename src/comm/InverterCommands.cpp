#include "InverterCommands.h"

#include "CommSession.h"
#include "CommandReports.h"
#include "Transaction.h"
#include "WindowMessages.h"
#include "model/InverterGroup.h"

#include <algorithm>
#include <atomic>

namespace {

CInverter* FirstRequesting(CommSession& session, std::atomic<int> CInverter::*flag) {
    for (CInverter* inverter : session.group.Inverters()) {
        if ((inverter->*flag).load() != 0) {
            return inverter;
        }
    }
    return nullptr;
}

// The acknowledgement is judged here, so that a refusal is told apart from
// silence.
CommandOutcome ExchangeCommand(CommSession& session, std::uint8_t function) {
    if (!session.Exchange(function, false)) {
        return OUTCOME_NO_ANSWER;
    }
    const bool acknowledged = session.reply.Length() > 0 && session.reply.Data()[0] == ACK;
    return acknowledged ? OUTCOME_ACKNOWLEDGED : OUTCOME_REFUSED;
}

void SendParamWrite(CommSession& session, CInverter& inverter, const ParamWrite& write) {
    const auto function = static_cast<std::uint8_t>(write.m_nId & 0xFF);
    session.request.SetRequest(inverter.m_nAddress, CTRL_WRITE, function, 2);
    session.request.Data()[0] = static_cast<std::uint8_t>(write.m_nValue >> 8);
    session.request.Data()[1] = static_cast<std::uint8_t>(write.m_nValue & 0xFF);
    const CommandOutcome outcome = ExchangeCommand(session, function);
    auto lock = inverter.Lock();
    if (outcome == OUTCOME_ACKNOWLEDGED) {
        StoreParamValue(write.m_nId, write.m_nValue, inverter);
    }
    FileCommandReport(inverter, write.m_nTicket, outcome);
}

void ChangeSerial(CommSession& session, CInverter& inverter) {
    std::string serialNo;
    std::uint32_t ticket = 0;
    {
        auto lock = inverter.Lock();
        serialNo = inverter.m_strNewSerialNo;
        ticket = inverter.m_nNewSerialTicket;
    }
    session.request.SetRequest(inverter.m_nAddress, CTRL_WRITE, FN_WRITE_SERIAL_NO,
                               SERIAL_NO_LENGTH);
    std::copy_n(serialNo.begin(), std::min(serialNo.size(), SERIAL_NO_LENGTH),
                session.request.Data());
    const CommandOutcome outcome = ExchangeCommand(session, FN_WRITE_SERIAL_NO);
    auto lock = inverter.Lock();
    if (outcome == OUTCOME_ACKNOWLEDGED) {
        inverter.m_strSerialNo = serialNo.substr(0, SERIAL_NO_LENGTH);
    }
    FileCommandReport(inverter, ticket, outcome);
    // A number requested meanwhile goes out on a later pass.
    if (ticket == inverter.m_nNewSerialTicket) {
        inverter.m_bChangeSerialRequest = 0;
    }
}
} // namespace

void StoreParamValue(std::uint16_t identifier, std::uint16_t value, CInverter& inverter) {
    if (identifier >= FIRST_PARAM_ID && identifier < FIRST_PARAM_ID + PARAM_SLOTS) {
        inverter.m_params[identifier - FIRST_PARAM_ID] = value;
    }
}

std::uint32_t QueueParamWrite(CInverter& inverter, std::uint16_t identifier, std::uint16_t value) {
    auto lock = inverter.Lock();
    const std::uint32_t ticket = IssueTicket(inverter);
    inverter.m_pendingParamWrites.push_back(ParamWrite{identifier, value, ticket});
    return ticket;
}

std::uint32_t RequestSerialChange(CInverter& inverter, const std::string& serialNo) {
    auto lock = inverter.Lock();
    inverter.m_strNewSerialNo = serialNo;
    inverter.m_nNewSerialTicket = IssueTicket(inverter);
    inverter.m_bChangeSerialRequest = 1;
    return inverter.m_nNewSerialTicket;
}

CommStep WritePendingParams(CommSession& session) {
    for (CInverter* inverter : session.group.Inverters()) {
        // Hand-over: writes queued while these are sent wait for a later pass.
        std::vector<ParamWrite> writes;
        {
            auto lock = inverter->Lock();
            writes.swap(inverter->m_pendingParamWrites);
        }
        for (auto write = writes.rbegin(); write != writes.rend(); ++write) {
            SendParamWrite(session, *inverter, *write);
        }
    }
    return STEP_SCHEDULE;
}

CommStep RemoveRequestedInverter(CommSession& session) {
    CInverter* inverter = FirstRequesting(session, &CInverter::m_bRemoveRequest);
    if (inverter == nullptr) {
        return STEP_SCHEDULE;
    }
    inverter->m_bRemoveRequest = 0;
    session.request.SetRequest(inverter->m_nAddress, CTRL_REGISTER, FN_REMOVE_REGISTER);
    session.PostToList(WM_INVERTER_REMOVED, inverter);
    if (!SendCommand(session.group, session.request)) {
        session.Notify("Remove inverter fail!");
    } else if (ReceiveReply(session.group, session.reply, FN_REMOVE_REGISTER, true)) {
        session.Notify("Remove inverter success!");
    }
    session.group.RemoveInverter(inverter);
    return STEP_SCHEDULE;
}

CommStep ResetRequestedTotals(CommSession& session) {
    CInverter* inverter = FirstRequesting(session, &CInverter::m_bResetTotalsRequest);
    if (inverter == nullptr) {
        return STEP_SCHEDULE;
    }
    inverter->m_bResetTotalsRequest = 0;
    session.request.SetRequest(inverter->m_nAddress, CTRL_EXECUTE, FN_RESET_TOTALS);
    if (session.Exchange(FN_RESET_TOTALS, true)) {
        session.Notify("Reset e-total/h-total success");
    }
    return STEP_SCHEDULE;
}

CommStep ChangeRequestedSerial(CommSession& session) {
    if (CInverter* inverter = FirstRequesting(session, &CInverter::m_bChangeSerialRequest)) {
        ChangeSerial(session, *inverter);
    }
    return STEP_SCHEDULE;
}

CommStep BroadcastReconnectAll(CommSession& session) {
    session.request.SetRequest(BROADCAST_ADDRESS, CTRL_REGISTER, FN_RECONNECT_ALL);
    // No inverter answers a broadcast; a port that failed is told by the next
    // open it needs.
    static_cast<void>(SendCommand(session.group, session.request));
    return STEP_SCHEDULE;
}

void RunWaitingWrites(CommSession& session) {
    WritePendingParams(session);
    for (CInverter* inverter : session.group.Inverters()) {
        if (inverter->m_bChangeSerialRequest != 0) {
            ChangeSerial(session, *inverter);
        }
    }
}
