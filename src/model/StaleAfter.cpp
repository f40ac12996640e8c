#include "StaleAfter.h"

#include "InverterGroup.h"

#include <algorithm>
#include <cstdint>

namespace {
// A cycle not measured yet is estimated from a full read deadline per
// inverter, so the first cycle of a full bus does not look stale.
constexpr std::int64_t EXCHANGE_MS = 400;

std::int64_t CycleMs(const CInverterGroup& group) {
    const auto estimate = static_cast<std::int64_t>(group.m_inverters.size()) * EXCHANGE_MS;
    const std::int64_t measured = group.m_nLastCycleMs;
    return measured > 0 ? measured : estimate;
}
} // namespace

std::time_t StaleAfterSeconds(const CInverterGroup& group, int intervalSeconds) {
    return 2 * std::max(intervalSeconds, 1) + (CycleMs(group) + 999) / 1000;
}
