#pragma once

#include "BusMessage.h"
#include "model/ReplyCheck.h"
#include "platform/ReplyEnd.h"

#include <cstddef>
#include <cstdint>

// Writes the wire frame of a message into frame (FRAME_BUFFER_SIZE bytes) and
// returns its length, data length + 11.
std::size_t BuildFrame(std::uint8_t* frame, const BusMessage& message);

// Two's complement of the 16-bit wrapping sum of the bytes.
std::uint16_t FrameChecksum(const std::uint8_t* bytes, std::size_t count);

// Which rule, checked in wire order, rejects count received bytes as the reply
// to a request with the given function code; ReplyCheck::Accepted when none.
ReplyCheck CheckReply(const std::uint8_t* bytes, std::size_t count, std::uint8_t expectedFunction,
                      bool ackRequired);

// Whether count received bytes are a valid reply to a request with the given
// function code.
bool CheckReplyFrame(const std::uint8_t* bytes, std::size_t count, std::uint8_t expectedFunction,
                     bool ackRequired);

// Bytes still to come before count received bytes form one whole frame (sync
// bytes, the data the length byte announces, checksum and trailer), 0 once
// they do, or ReplyEnd::NEVER_WHOLE.
int FrameBytesMissing(const std::uint8_t* bytes, int count);

// Copies the message bytes of a checked reply frame into message.
void CopyReplyMessage(const std::uint8_t* frame, BusMessage& message);
