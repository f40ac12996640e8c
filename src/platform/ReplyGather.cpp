#include "ReplyGather.h"

#include <algorithm>

namespace {
using Time = ReplyLine::Time;

// Bytes read once some came before until, up to room; 0 when none came, -1
// when the port failed.
int ReadSome(ReplyLine& line, std::uint8_t* buffer, int room, Time until) {
    for (;;) {
        const int heard = line.AwaitByte(until);
        if (heard <= 0) {
            return heard;
        }
        // Nothing after all (another reader, a signal): wait again.
        if (const int got = line.ReadWaiting(buffer, room); got != 0) {
            return got;
        }
    }
}

// Goes on as a plain read does, until the buffer is full or the deadline has
// passed: the bytes held in all, or -1 when the port failed.
int ReadToDeadline(ReplyLine& line, std::uint8_t* buffer, int received, int count, Time deadline) {
    while (received < count) {
        const int got = ReadSome(line, buffer + received, count - received, deadline);
        if (got < 0) {
            return -1;
        }
        if (got == 0) {
            break;
        }
        received += got;
    }
    return received;
}

ReceiveOutcome Deliver(int received, int& count, ReceiveOutcome outcome) {
    if (received <= 0) {
        return ReceiveOutcome::Nothing;
    }
    count = received;
    return outcome;
}

ReceiveOutcome EndWhole(ReplyLine& line, std::uint8_t* buffer, int received, int& count,
                        const ReplyEnd& end, Time deadline, Time characterTime) {
    if (end.quietCharacters <= 0) {
        return Deliver(received, count, ReceiveOutcome::Received);
    }
    const Time quietEnd = std::min(line.Now() + end.quietCharacters * characterTime, deadline);
    const int heard = line.AwaitByte(quietEnd);
    if (heard < 0) {
        return ReceiveOutcome::Nothing;
    }
    if (heard == 0 || !end.heardMeansCollision) {
        return Deliver(received, count, ReceiveOutcome::Received);
    }
    return Deliver(ReadToDeadline(line, buffer, received, count, deadline), count,
                   ReceiveOutcome::Collision);
}
} // namespace

ReceiveOutcome GatherReply(ReplyLine& line, std::uint8_t* buffer, int& count, const ReplyEnd& end,
                           Time deadline, Time characterTime) {
    int received = 0;
    for (;;) {
        const int missing = end.bytesMissing(buffer, received);
        if (missing == 0) {
            return EndWhole(line, buffer, received, count, end, deadline, characterTime);
        }
        if (missing == ReplyEnd::NEVER_WHOLE || received >= count) {
            return Deliver(ReadToDeadline(line, buffer, received, count, deadline), count,
                           ReceiveOutcome::Received);
        }
        // The missing bytes need their wire time to come; sleeping through
        // most of it spares a wake-up per byte. Reading no more than they
        // leaves whatever follows the reply to the purge.
        line.PauseUntil(std::min(line.Now() + (missing - 1) * characterTime, deadline));
        const int got =
            ReadSome(line, buffer + received, std::min(missing, count - received), deadline);
        if (got < 0) {
            return ReceiveOutcome::Nothing;
        }
        if (got == 0) {
            return Deliver(received, count, ReceiveOutcome::Received);
        }
        received += got;
    }
}
