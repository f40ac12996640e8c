#include "Frame.h"

#include <algorithm>
#include <cstring>

std::size_t BuildFrame(std::uint8_t* frame, const BusMessage& message) {
    const std::size_t length = message.Length();
    std::memset(frame, 0, FRAME_BUFFER_SIZE);
    frame[0] = FRAME_SYNC;
    frame[1] = FRAME_SYNC;
    std::copy_n(message.bytes.data(), MESSAGE_HEADER_SIZE + length, frame + 2);
    const std::size_t sumEnd = FRAME_HEADER_SIZE + length;
    const std::uint16_t checksum = FrameChecksum(frame, sumEnd);
    frame[sumEnd] = static_cast<std::uint8_t>(checksum >> 8);
    frame[sumEnd + 1] = static_cast<std::uint8_t>(checksum & 0xFF);
    frame[sumEnd + 2] = FRAME_END_LF;
    frame[sumEnd + 3] = FRAME_END_CR;
    return length + FRAME_OVERHEAD;
}

std::uint16_t FrameChecksum(const std::uint8_t* bytes, std::size_t count) {
    std::uint16_t sum = 0;
    for (std::size_t i = 0; i < count; ++i) {
        sum = static_cast<std::uint16_t>(sum + bytes[i]);
    }
    return static_cast<std::uint16_t>(0x10000U - sum);
}

ReplyCheck CheckReply(const std::uint8_t* bytes, std::size_t count, std::uint8_t expectedFunction,
                      bool ackRequired) {
    if (count == 0) {
        return ReplyCheck::NoReply;
    }
    // The sync bytes are checked before the count, as the wire order dictates.
    if (count < 2 || bytes[0] != FRAME_SYNC || bytes[1] != FRAME_SYNC) {
        return ReplyCheck::NoSync;
    }
    if (count < FRAME_OVERHEAD) {
        return ReplyCheck::TooShort;
    }
    if (expectedFunction != FN_ANY_DESTINATION && bytes[3] != MONITOR_ADDRESS) {
        return ReplyCheck::NotForStation;
    }
    if (bytes[5] != static_cast<std::uint8_t>(~expectedFunction)) {
        return ReplyCheck::WrongFunction;
    }
    if (ackRequired && bytes[7] != ACK) {
        return ReplyCheck::NotAcknowledged;
    }
    if (bytes[count - 2] != FRAME_END_LF || bytes[count - 1] != FRAME_END_CR) {
        return ReplyCheck::BadTrailer;
    }
    // The checksum range comes from the length field, the checksum itself from
    // the end of what was read; a length field pointing past the read fails.
    const std::size_t sumEnd = FRAME_HEADER_SIZE + bytes[6];
    if (sumEnd > count) {
        return ReplyCheck::LengthPastEnd;
    }
    const std::uint16_t received =
        static_cast<std::uint16_t>(bytes[count - 4] << 8 | bytes[count - 3]);
    return FrameChecksum(bytes, sumEnd) == received ? ReplyCheck::Accepted
                                                    : ReplyCheck::BadChecksum;
}

bool CheckReplyFrame(const std::uint8_t* bytes, std::size_t count, std::uint8_t expectedFunction,
                     bool ackRequired) {
    return CheckReply(bytes, count, expectedFunction, ackRequired) == ReplyCheck::Accepted;
}

int FrameBytesMissing(const std::uint8_t* bytes, int count) {
    if ((count > 0 && bytes[0] != FRAME_SYNC) || (count > 1 && bytes[1] != FRAME_SYNC)) {
        return ReplyEnd::NEVER_WHOLE;
    }
    const int shortest = static_cast<int>(FRAME_OVERHEAD);
    // Until the length byte is in, the shortest frame is all that is known.
    if (count < static_cast<int>(FRAME_HEADER_SIZE)) {
        return shortest - count;
    }
    const int length = shortest + bytes[6];
    if (count < length) {
        return length - count;
    }
    return bytes[length - 2] == FRAME_END_LF && bytes[length - 1] == FRAME_END_CR
               ? 0
               : ReplyEnd::NEVER_WHOLE;
}

void CopyReplyMessage(const std::uint8_t* frame, BusMessage& message) {
    std::copy_n(frame + 2, MESSAGE_HEADER_SIZE + frame[6], message.bytes.data());
}
