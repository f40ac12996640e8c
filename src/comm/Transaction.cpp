#include "Transaction.h"

#include "Frame.h"
#include "model/InverterGroup.h"
#include "platform/SerialPort.h"

#include <array>

bool SendCommand(CInverterGroup& group, const BusMessage& message) {
    if (!group.m_pSerial) {
        return false;
    }
    std::array<std::uint8_t, FRAME_BUFFER_SIZE> frame;
    const auto length = static_cast<int>(BuildFrame(frame.data(), message));
    return group.m_pSerial->Send(frame.data(), length) == 1;
}

bool ReceiveReply(CInverterGroup& group, BusMessage& reply, std::uint8_t expectedFunction,
                  bool ackRequired) {
    if (!group.m_pSerial) {
        return false;
    }
    std::array<std::uint8_t, FRAME_BUFFER_SIZE> frame{};
    int count = MAX_REPLY_BYTES;
    if (group.m_pSerial->Receive(frame.data(), count) != 1) {
        return false;
    }
    const ReplyCheck check =
        CheckReply(frame.data(), static_cast<std::size_t>(count), expectedFunction, ackRequired);
    if (check != ReplyCheck::Accepted) {
        if (check != ReplyCheck::NoReply) {
            group.m_rejects.Count(check);
        }
        return false;
    }
    CopyReplyMessage(frame.data(), reply);
    return true;
}
