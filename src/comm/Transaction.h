#pragma once

#include "BusMessage.h"
#include "model/ReplyCheck.h"

#include <cstdint>

class CInverterGroup;

// Frames the message and writes it to the group's inverter port. True when
// every byte went out.
[[nodiscard]] bool SendCommand(CInverterGroup& group, const BusMessage& message);

// Reads one reply from the group's inverter port and checks it against the
// request just sent, which went to the broadcast address if broadcast is set.
// On success the reply's message bytes are copied into reply; on failure
// reply is left as it was.
[[nodiscard]] bool ReceiveReply(CInverterGroup& group, BusMessage& reply,
                                std::uint8_t expectedFunction, bool ackRequired,
                                bool broadcast = false);
// The same, telling how the reply fared: Accepted, NoReply when nothing came,
// or the first rule that rejected what came.
[[nodiscard]] ReplyCheck ReceiveCheckedReply(CInverterGroup& group, BusMessage& reply,
                                             std::uint8_t expectedFunction, bool ackRequired,
                                             bool broadcast = false);

// In fast mode, the character times the line must stay quiet after a whole
// reply to a broadcast, which several inverters may answer at once. Answers
// that overlap garble each other and are never whole; the guard catches one
// that begins only after another has ended, as from an inverter slower to
// turn around by up to an answer's length (28 ms) plus the guard. Twice the
// shortest useful guard, and only 10 ms more per registration exchange.
inline constexpr int BROADCAST_GUARD_CHARACTERS = 10;
// After an addressed reply: a stray byte right behind the trailer lands
// before the next purge instead of in front of the next reply.
inline constexpr int REPLY_SETTLE_CHARACTERS = 2;
