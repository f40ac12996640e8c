#include "ReplySchedule.h"

#include <algorithm>

namespace sim {

void ReplySchedule::Heard(std::size_t requestBytes, Clock::duration characterTime,
                          Clock::time_point now) {
    m_requestEnd =
        std::max(now, m_requestEnd) + characterTime * static_cast<Clock::rep>(requestBytes);
}

void ReplySchedule::Send(const LineBurst& reply, Clock::duration characterTime) {
    if (reply.Empty()) {
        return;
    }
    Clock::time_point end = std::max(m_requestEnd + m_turnaround, m_replyEnd);
    std::size_t heard = 0;
    for (std::size_t byteTime = 0; byteTime < reply.ByteTimes(); ++byteTime) {
        end += characterTime;
        const auto first = reply.Bytes().begin() + static_cast<std::ptrdiff_t>(heard);
        heard = reply.HeardBy(byteTime);
        m_pending.push_back(
            {end, {first, reply.Bytes().begin() + static_cast<std::ptrdiff_t>(heard)}});
    }
    m_replyEnd = end;
}

std::optional<ReplySchedule::Clock::time_point> ReplySchedule::NextDue() const {
    if (m_pending.empty()) {
        return std::nullopt;
    }
    return m_pending.front().due;
}

std::vector<std::uint8_t> ReplySchedule::TakeDue(Clock::time_point now) {
    std::vector<std::uint8_t> due;
    while (!m_pending.empty() && m_pending.front().due <= now) {
        const std::vector<std::uint8_t>& bytes = m_pending.front().bytes;
        due.insert(due.end(), bytes.begin(), bytes.end());
        m_pending.pop_front();
    }
    return due;
}

} // namespace sim
