#include "Scheduler.h"

#include "CommSession.h"
#include "CommShared.h"
#include "model/InverterGroup.h"
#include "model/StaleAfter.h"

namespace {
using namespace std::chrono_literals;

constexpr std::chrono::milliseconds SLOW_REPLY = 500ms;

// Due once the wall clock's whole seconds have moved on by the period, which
// keeps polls on whole seconds, while the monotonic clock agrees to within a
// second; or once the monotonic clock has measured the whole period, whatever
// the wall clock did meanwhile.
bool Due(const std::optional<ScheduleMark>& last, const ScheduleMark& now, int periodSeconds) {
    if (!last) {
        return true;
    }
    const std::chrono::seconds period(periodSeconds);
    const auto measured = now.m_monotonic - last->m_monotonic;
    return measured >= period ||
           (now.m_tWall - last->m_tWall >= periodSeconds && measured >= period - 1s);
}

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

// While inverters register one after another, the next polling cycle waits
// as long as the readings of the last one stay fresh, less the longest attempt
// of the run and a slow reply: at a short interval a full bus would otherwise
// spend most of the line on cycles, and the last inverters would wait their
// turn for long.
bool CycleDueInRun(const CommSession& session, const ScheduleMark& now) {
    const CInverterGroup& group = session.group;
    if (!group.m_tLastPoll) {
        return true;
    }
    const std::chrono::seconds fresh(StaleAfterSeconds(group, g_nInterval.load()));
    return now.m_monotonic + session.longestAttempt + SLOW_REPLY >=
           group.m_tLastPoll->m_monotonic + fresh;
}

CommStep Register(CommSession& session, const ScheduleMark& now) {
    session.group.m_tLastRegister = now;
    return STEP_REGISTER;
}
} // namespace

bool TakeDueRegistration(CommSession& session) {
    const ScheduleMark now = session.Mark();
    if (!Due(session.group.m_tLastRegister, now, REGISTER_PERIOD_SECONDS)) {
        return false;
    }
    session.group.m_tLastRegister = now;
    return true;
}

CommStep ChooseNextStep(CommSession& session) {
    CInverterGroup& group = session.group;
    if (group.m_bReconnectRequest.exchange(0) != 0) {
        return STEP_RECONNECT_ALL;
    }
    if (const CommStep requested = RequestedStep(group); requested != STEP_SCHEDULE) {
        return requested;
    }
    if (TakeDueRegistration(session)) {
        return STEP_REGISTER;
    }
    const ScheduleMark now = session.Mark();
    const bool registering = session.InQuickRun();
    // Measured from the start of the previous cycle, so a cycle longer than
    // the interval is followed at once by the next. A cycle over nobody would
    // only put off the first inverter's first poll.
    const bool pollDue = !group.m_inverters.empty() &&
                         (registering ? CycleDueInRun(session, now)
                                      : Due(group.m_tLastPoll, now, g_nInterval.load()));
    // Quick attempts and due cycles take turns, so that a long run of
    // registrations leaves the registered inverters sampled.
    const bool quickDue =
        session.registerAtOnce || (session.retryAt && now.m_monotonic >= *session.retryAt);
    if (quickDue && !(pollDue && session.pollsTurn)) {
        return Register(session, now);
    }
    if (pollDue) {
        group.m_tLastPoll = now;
        session.pollsTurn = false;
        return STEP_POLL;
    }
    return STEP_SCHEDULE;
}
