#pragma once

#include "ParamWriteTiming.h"
#include "model/CommandReport.h"
#include "model/ParamSlots.h"
#include "store/ParamAudit.h"

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

class CHeliowatchDoc;
class CInverter;

// Writes the changed rows of a parameter set to an inverter one after another:
// queues each write for the port's communication thread and waits for the
// thread's report on it. Driven by a timer, so the user interface keeps
// running while it waits. Every write is recorded in the audit file with its
// outcome.
class ParamWriteSequence {
public:
    using Params = ParamValues;

    ParamWriteSequence(const CHeliowatchDoc& document, const CInverter* inverter,
                       const Params& values, const ParamWriteTiming& timing);

    // Does what is due now; while Running(), returns the pause before the next
    // call.
    std::chrono::milliseconds Advance();
    bool Running() const { return m_phase != Phase::Finished; }
    // The row the inverter did not take, or -1 once every row is written.
    int FailedRow() const { return m_nFailedRow; }
    // Why the failed row failed: refused, or no answer.
    CommandOutcome FailedOutcome() const { return m_failedOutcome; }
    // Why a write could not be recorded; empty while every one was.
    const std::string& AuditProblem() const { return m_auditProblem; }

private:
    enum class Phase { Compare, Queue, Check, Finished };

    // Each returns the pause before the next phase, or nothing to go straight on.
    std::optional<std::chrono::milliseconds> Compare();
    std::optional<std::chrono::milliseconds> Queue();
    std::optional<std::chrono::milliseconds> Check();
    // The inverter's value of the current row, or nothing once it is gone.
    std::optional<std::uint16_t> CurrentValue() const;
    std::uint16_t Wanted() const;
    void Record(CommandOutcome outcome);
    void NextRow();
    void Fail(CommandOutcome outcome);

    const CHeliowatchDoc& m_document;
    const CInverter* m_pInverter;
    Params m_values;
    ParamWriteTiming m_timing;
    std::size_t m_nRow = 0;
    Phase m_phase = Phase::Compare;
    std::optional<OutcomeWatch> m_watch;
    // The write under way, as the audit file will hold it.
    ParamAuditEntry m_audit;
    int m_nFailedRow = -1;
    CommandOutcome m_failedOutcome = OUTCOME_PENDING;
    std::string m_auditProblem;
};
