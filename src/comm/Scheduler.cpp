#include "Scheduler.h"

#include "CommSession.h"
#include "CommShared.h"
#include "model/InverterGroup.h"

namespace {
// The step the first inverter with anything to do asks for.
CommStep RequestedStep(const CInverterGroup& group) {
    auto lock = group.Lock();
    for (const auto& inverter : group.m_inverters) {
        if (!inverter->m_pendingParamWrites.empty()) {
            return STEP_WRITE_PARAMS;
        }
        if (inverter->m_bRemoveRequest) {
            return STEP_REMOVE;
        }
        if (inverter->m_bChangeSerialRequest) {
            return STEP_CHANGE_SERIAL;
        }
        if (inverter->m_bResetTotalsRequest) {
            return STEP_RESET_TOTALS;
        }
    }
    return STEP_SCHEDULE;
}
} // namespace

CommStep ChooseNextStep(CommSession& session) {
    CInverterGroup& group = session.group;
    if (group.m_bReconnectRequest.exchange(0) != 0) {
        return STEP_RECONNECT_ALL;
    }
    if (const CommStep requested = RequestedStep(group); requested != STEP_SCHEDULE) {
        return requested;
    }
    const std::time_t now = session.Now();
    if (now - group.m_tLastRegister >= REGISTER_PERIOD_SECONDS) {
        group.m_tLastRegister = now;
        return STEP_REGISTER;
    }
    // Measured from the start of the previous cycle, so a cycle longer than
    // the interval is followed at once by the next.
    if (now - group.m_tLastPoll >= g_nInterval.load()) {
        group.m_tLastPoll = now;
        return STEP_POLL;
    }
    return STEP_SCHEDULE;
}
