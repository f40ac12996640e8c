#pragma once

#include <cstdint>

// What became of a command the user interface handed to a port's
// communication thread.
enum CommandOutcome {
    OUTCOME_PENDING = 0, // not reported yet
    OUTCOME_ACKNOWLEDGED = 1,
    OUTCOME_REFUSED = 2,   // answered without an acknowledgement
    OUTCOME_NO_ANSWER = 3, // not sent, or no valid reply
};

// The outcome of the command that carried this ticket.
struct CommandReport {
    std::uint32_t m_nTicket = 0;
    CommandOutcome m_nOutcome = OUTCOME_PENDING;
};
