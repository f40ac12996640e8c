#include "CommandReports.h"

#include "model/InverterGroup.h"

#include <algorithm>

namespace {
using namespace std::chrono_literals;

// Reports nobody takes, of commands no dialog waits for, do not pile up.
constexpr std::size_t KEPT_REPORTS = 16;
// The request written and the longest reply's read deadline (269 bytes plus
// 100 ms), with a loop pass.
constexpr std::chrono::milliseconds TRANSACTION_TIME = 400ms;
constexpr int REGISTRATION_TRANSACTIONS = 6;
constexpr std::chrono::milliseconds MARGIN = 1s;
} // namespace

std::uint32_t IssueTicket(CInverter& inverter) {
    auto lock = inverter.Lock();
    return ++inverter.m_nLastTicket;
}

void FileCommandReport(CInverter& inverter, std::uint32_t ticket, CommandOutcome outcome) {
    auto lock = inverter.Lock();
    auto& reports = inverter.m_commandReports;
    reports.push_back(CommandReport{ticket, outcome});
    if (reports.size() > KEPT_REPORTS) {
        reports.pop_front();
    }
}

CommandOutcome TakeCommandOutcome(CInverter& inverter, std::uint32_t ticket) {
    auto lock = inverter.Lock();
    auto& reports = inverter.m_commandReports;
    const auto found = std::find_if(reports.begin(), reports.end(), [ticket](const auto& report) {
        return report.m_nTicket == ticket;
    });
    if (found == reports.end()) {
        return OUTCOME_PENDING;
    }
    const CommandOutcome outcome = found->m_nOutcome;
    reports.erase(found);
    return outcome;
}

std::chrono::milliseconds CommandWaitLimit(const CInverterGroup& group, int transactions) {
    const int inverters = static_cast<int>(group.Inverters().size());
    return (std::max(inverters, REGISTRATION_TRANSACTIONS) + transactions) * TRANSACTION_TIME +
           MARGIN;
}
