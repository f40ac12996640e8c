#include "ReplyEncoder.h"

#include "comm/Frame.h"

namespace sim {

std::vector<std::uint8_t> EncodeReply(BusMessage reply, const FaultSettings& faults) {
    if (faults.misaddressed) {
        reply.bytes[1] = MISDIRECTED_DESTINATION;
    }
    std::uint8_t frame[FRAME_BUFFER_SIZE];
    const std::size_t length = BuildFrame(frame, reply);
    std::vector<std::uint8_t> bytes(frame, frame + length);
    if (faults.badChecksum) {
        bytes[length - 3] ^= 0x5A;
    }
    if (faults.trailingByte) {
        bytes.push_back(TRAILING_NOISE);
    }
    return bytes;
}

} // namespace sim
