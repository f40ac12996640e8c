#pragma once

#include "LineBurst.h"

#include <chrono>
#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

namespace sim {

// When the station hears each byte of the replies on one line. A request
// read from the pty at once has still taken its character times on the
// wire; the reply starts one turnaround after the request's last byte, or
// after the reply before it, and each of its byte times ends one character
// time after the last. With both times zero every byte is due at once.
class ReplySchedule {
public:
    using Clock = std::chrono::steady_clock;

    explicit ReplySchedule(Clock::duration turnaround) : m_turnaround(turnaround) {}

    void Heard(std::size_t requestBytes, Clock::duration characterTime, Clock::time_point now);
    void Send(const LineBurst& reply, Clock::duration characterTime);

    std::optional<Clock::time_point> NextDue() const;
    // The bytes whose byte time has ended by now, in order.
    std::vector<std::uint8_t> TakeDue(Clock::time_point now);

private:
    struct Pending {
        Clock::time_point due;
        std::vector<std::uint8_t> bytes;
    };

    Clock::duration m_turnaround;
    Clock::time_point m_requestEnd;
    Clock::time_point m_replyEnd;
    std::deque<Pending> m_pending;
};

} // namespace sim
