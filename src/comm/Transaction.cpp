#include "Transaction.h"

#include "CommShared.h"
#include "Frame.h"
#include "model/InverterGroup.h"
#include "platform/SerialPort.h"

#include <array>

namespace {
ReceiveOutcome ReadReply(SerialPort& port, std::uint8_t* frame, int& count, bool broadcast) {
    if (!g_bFastReplies.load()) {
        return port.Receive(frame, count) == 1 ? ReceiveOutcome::Received : ReceiveOutcome::Nothing;
    }
    const ReplyEnd end{&FrameBytesMissing,
                       broadcast ? BROADCAST_GUARD_CHARACTERS : REPLY_SETTLE_CHARACTERS, broadcast};
    return port.ReceiveWhole(frame, count, end);
}
} // namespace

bool SendCommand(CInverterGroup& group, const BusMessage& message) {
    if (!group.m_pSerial) {
        return false;
    }
    std::array<std::uint8_t, FRAME_BUFFER_SIZE> frame;
    const auto length = static_cast<int>(BuildFrame(frame.data(), message));
    return group.m_pSerial->Send(frame.data(), length) == 1;
}

bool ReceiveReply(CInverterGroup& group, BusMessage& reply, std::uint8_t expectedFunction,
                  bool ackRequired, bool broadcast) {
    return ReceiveCheckedReply(group, reply, expectedFunction, ackRequired, broadcast) ==
           ReplyCheck::Accepted;
}

ReplyCheck ReceiveCheckedReply(CInverterGroup& group, BusMessage& reply,
                               std::uint8_t expectedFunction, bool ackRequired, bool broadcast) {
    if (!group.m_pSerial) {
        return ReplyCheck::NoReply;
    }
    std::array<std::uint8_t, FRAME_BUFFER_SIZE> frame{};
    int count = MAX_REPLY_BYTES;
    const ReceiveOutcome outcome = ReadReply(*group.m_pSerial, frame.data(), count, broadcast);
    if (outcome == ReceiveOutcome::Nothing) {
        return ReplyCheck::NoReply;
    }
    const ReplyCheck check = outcome == ReceiveOutcome::Collision
                                 ? ReplyCheck::Collision
                                 : CheckReply(frame.data(), static_cast<std::size_t>(count),
                                              expectedFunction, ackRequired);
    if (check != ReplyCheck::Accepted) {
        if (check != ReplyCheck::NoReply) {
            group.m_rejects.Count(check);
        }
        return check;
    }
    CopyReplyMessage(frame.data(), reply);
    return check;
}
