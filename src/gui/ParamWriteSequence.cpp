#include "ParamWriteSequence.h"

#include "ParamRows.h"
#include "comm/InverterCommands.h"
#include "model/InverterGroup.h"
#include "platform/Log.h"
#include "store/CommandOutcomeText.h"
#include "store/HeliowatchDoc.h"

#include <QString>

namespace {
std::string ShownValue(std::uint16_t raw, const ParamRow& row) {
    return QString::number(raw * row.scale, 'f', row.decimals).toStdString();
}
} // namespace

ParamWriteSequence::ParamWriteSequence(const CHeliowatchDoc& document, const CInverter* inverter,
                                       const Params& values, const ParamWriteTiming& timing)
    : m_document(document), m_pInverter(inverter), m_values(values), m_timing(timing) {}

std::chrono::milliseconds ParamWriteSequence::Advance() {
    std::optional<std::chrono::milliseconds> pause;
    while (Running() && !pause) {
        switch (m_phase) {
        case Phase::Compare: pause = Compare(); break;
        case Phase::Queue: pause = Queue(); break;
        case Phase::Check: pause = Check(); break;
        case Phase::Finished: break;
        }
    }
    return pause.value_or(std::chrono::milliseconds(0));
}

std::optional<std::chrono::milliseconds> ParamWriteSequence::Compare() {
    const auto current = CurrentValue();
    if (!current) {
        Fail(OUTCOME_NO_ANSWER);
    } else if (*current == Wanted()) {
        NextRow();
    } else {
        m_phase = Phase::Queue;
        return m_timing.beforeQueue;
    }
    return std::nullopt;
}

std::optional<std::chrono::milliseconds> ParamWriteSequence::Queue() {
    const ParamRow& row = ParamRows()[m_nRow];
    const auto identifier = static_cast<std::uint16_t>(FIRST_PARAM_ID + row.slot);
    const std::uint16_t value = Wanted();
    const bool queued =
        m_document.WithInverter(m_pInverter, [&](CInverter& inverter, CInverterGroup& group) {
            m_audit = {0,
                       group.m_nComPort,
                       inverter.m_nAddress,
                       inverter.m_strSerialNo,
                       row.label,
                       row.unit,
                       ShownValue(inverter.m_params[row.slot], row),
                       ShownValue(value, row),
                       {}};
            m_watch.emplace(QueueParamWrite(inverter, identifier, value), group, m_timing.outcome);
        });
    if (queued) {
        m_phase = Phase::Check;
    } else {
        Fail(OUTCOME_NO_ANSWER);
    }
    return std::nullopt;
}

std::optional<std::chrono::milliseconds> ParamWriteSequence::Check() {
    CommandOutcome outcome = OUTCOME_NO_ANSWER; // the record is gone
    m_document.WithInverter(m_pInverter, [this, &outcome](CInverter& inverter, CInverterGroup&) {
        outcome = m_watch->Check(inverter);
    });
    if (outcome == OUTCOME_PENDING) {
        return m_watch->Pause();
    }
    Record(outcome);
    if (outcome == OUTCOME_ACKNOWLEDGED) {
        NextRow();
    } else {
        Fail(outcome);
    }
    return std::nullopt;
}

void ParamWriteSequence::Record(CommandOutcome outcome) {
    m_audit.time = m_document.Now();
    m_audit.outcome = CommandOutcomeText(outcome);
    std::string problem;
    if (!AppendParamAudit(m_audit, &problem)) {
        m_auditProblem = problem;
        Log(LogLevel::Warning, "parameter write not recorded: " + problem);
    }
}

std::optional<std::uint16_t> ParamWriteSequence::CurrentValue() const {
    std::optional<std::uint16_t> value;
    const int slot = ParamRows()[m_nRow].slot;
    m_document.WithInverter(m_pInverter, [&](CInverter& inverter, CInverterGroup&) {
        value = inverter.m_params[slot];
    });
    return value;
}

std::uint16_t ParamWriteSequence::Wanted() const {
    return m_values[ParamRows()[m_nRow].slot];
}

void ParamWriteSequence::NextRow() {
    m_phase = ++m_nRow == PARAM_ROW_COUNT ? Phase::Finished : Phase::Compare;
}

void ParamWriteSequence::Fail(CommandOutcome outcome) {
    m_nFailedRow = static_cast<int>(m_nRow);
    m_failedOutcome = outcome;
    m_phase = Phase::Finished;
}
