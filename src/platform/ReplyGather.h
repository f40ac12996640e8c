#pragma once

#include "ReplyEnd.h"

#include <chrono>
#include <cstdint>

// The line as a read that may end early sees it. Times are on a monotonic
// clock, so that tests can run the same read in virtual time.
class ReplyLine {
public:
    using Time = std::chrono::nanoseconds;

    virtual ~ReplyLine() = default;
    virtual Time Now() = 0;
    virtual void PauseUntil(Time then) = 0;
    // 1 once a byte can be read, 0 when none came before until, -1 when the
    // port failed.
    virtual int AwaitByte(Time until) = 0;
    // Up to room bytes of those waiting; -1 when the port failed.
    virtual int ReadWaiting(std::uint8_t* buffer, int room) = 0;
};

// Reads one reply of at most count bytes until end says it is whole or the
// deadline passes, whichever is first. A reply that is not whole by the
// deadline comes back exactly as a plain read would return it. On Nothing
// the count is left as it was.
ReceiveOutcome GatherReply(ReplyLine& line, std::uint8_t* buffer, int& count, const ReplyEnd& end,
                           ReplyLine::Time deadline, ReplyLine::Time characterTime);
