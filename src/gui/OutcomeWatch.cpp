#include "OutcomeWatch.h"

#include "comm/CommandReports.h"

OutcomeWatch::OutcomeWatch(std::uint32_t ticket, const CInverterGroup& group,
                           const OutcomeTiming& timing)
    : m_nTicket(ticket), m_pause(timing.betweenChecks) {
    const std::chrono::milliseconds limit = timing.limit.value_or(CommandWaitLimit(group, 1));
    m_nPausesLeft = m_pause.count() > 0 ? limit / m_pause : 0;
}

CommandOutcome OutcomeWatch::Check(CInverter& inverter) {
    const CommandOutcome outcome = TakeCommandOutcome(inverter, m_nTicket);
    if (outcome != OUTCOME_PENDING) {
        return outcome;
    }
    if (m_nPausesLeft == 0) {
        return OUTCOME_NO_ANSWER;
    }
    --m_nPausesLeft;
    return OUTCOME_PENDING;
}
