#pragma once

#include "model/CommandReport.h"

#include <chrono>
#include <cstdint>
#include <optional>

class CInverter;
class CInverterGroup;

// How a dialog waits for the communication thread's report on a command.
// Tests shorten it.
struct OutcomeTiming {
    std::chrono::milliseconds betweenChecks{100};
    // None: as long as the port may take to carry the command out.
    std::optional<std::chrono::milliseconds> limit;
};

// The wait for the report on one command of one transaction, a check at a
// time, so that the dialog's timer drives it and the window keeps running.
class OutcomeWatch {
public:
    // With the record's group locked, right after the command was handed over.
    OutcomeWatch(std::uint32_t ticket, const CInverterGroup& group, const OutcomeTiming& timing);

    // The reported outcome, or OUTCOME_NO_ANSWER once the limit is spent
    // without one; OUTCOME_PENDING: check again after Pause().
    CommandOutcome Check(CInverter& inverter);
    std::chrono::milliseconds Pause() const { return m_pause; }

private:
    std::uint32_t m_nTicket;
    std::chrono::milliseconds m_pause;
    std::int64_t m_nPausesLeft;
};
