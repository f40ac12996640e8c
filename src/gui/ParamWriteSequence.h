#pragma once

#include "ParamWriteTiming.h"
#include "model/ParamSlots.h"

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>

class CHeliowatchDoc;
class CInverter;

// Writes the changed rows of a parameter set to an inverter one after another:
// queues each write for the port's communication thread and waits for the
// thread's report on it. Driven by a timer, so the user interface keeps
// running while it waits.
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

private:
    enum class Phase { Compare, Queue, Check, Finished };

    // Each returns the pause before the next phase, or nothing to go straight on.
    std::optional<std::chrono::milliseconds> Compare();
    std::optional<std::chrono::milliseconds> Queue();
    std::optional<std::chrono::milliseconds> Check();
    // The inverter's value of the current row, or nothing once it is gone.
    std::optional<std::uint16_t> CurrentValue() const;
    std::uint16_t Wanted() const;
    void NextRow();
    void Fail();

    const CHeliowatchDoc& m_document;
    const CInverter* m_pInverter;
    Params m_values;
    ParamWriteTiming m_timing;
    std::size_t m_nRow = 0;
    Phase m_phase = Phase::Compare;
    std::optional<OutcomeWatch> m_watch;
    int m_nFailedRow = -1;
};
