#include "FuzzInputs.h"

#include "comm/Frame.h"

#include <algorithm>

namespace {
constexpr std::uint8_t REPAIR_CHECKSUM = 0x01;

class ByteReader {
public:
    ByteReader(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    bool AtEnd() const { return m_next == m_size; }
    std::uint8_t Byte() { return AtEnd() ? 0 : m_data[m_next++]; }
    std::uint32_t Number(int bytes) {
        std::uint32_t value = 0;
        for (int i = 0; i < bytes; ++i) {
            value = value << 8 | Byte();
        }
        return value;
    }
    Bytes Take(std::size_t count) {
        const std::size_t taken = std::min(count, m_size - m_next);
        Bytes bytes(m_data + m_next, m_data + m_next + taken);
        m_next += taken;
        return bytes;
    }
    Bytes Rest() { return Take(m_size - m_next); }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_next = 0;
};

void PutNumber(Bytes& out, std::uint32_t value, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) {
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

void PutBytes(Bytes& out, const Bytes& bytes) {
    out.insert(out.end(), bytes.begin(), bytes.end());
}

Bytes ReadFrame(ByteReader& reader, bool repair, std::size_t length) {
    Bytes frame = reader.Take(length);
    if (repair) {
        RepairChecksum(frame);
    }
    return frame;
}
} // namespace

void RepairChecksum(Bytes& frame) {
    if (frame.size() < FRAME_OVERHEAD || FRAME_HEADER_SIZE + frame[6] > frame.size()) {
        return;
    }
    const std::uint16_t checksum = FrameChecksum(frame.data(), FRAME_HEADER_SIZE + frame[6]);
    frame[frame.size() - 4] = static_cast<std::uint8_t>(checksum >> 8);
    frame[frame.size() - 3] = static_cast<std::uint8_t>(checksum & 0xFF);
}

RuntimeReplyInput RuntimeReplyInput::Read(const std::uint8_t* data, std::size_t size) {
    ByteReader reader(data, size);
    RuntimeReplyInput input;
    input.repairChecksum = (reader.Byte() & REPAIR_CHECKSUM) != 0;
    input.fields = reader.Take(reader.Byte());
    input.frame = ReadFrame(reader, input.repairChecksum, size);
    return input;
}

Bytes RuntimeReplyInput::Write() const {
    Bytes out;
    PutNumber(out, repairChecksum ? REPAIR_CHECKSUM : 0, 1);
    PutNumber(out, static_cast<std::uint32_t>(fields.size()), 1);
    PutBytes(out, fields);
    PutBytes(out, frame);
    return out;
}

ConversationInput ConversationInput::Read(const std::uint8_t* data, std::size_t size) {
    ByteReader reader(data, size);
    ConversationInput input;
    while (!reader.AtEnd()) {
        Reply reply;
        reply.repairChecksum = (reader.Byte() & REPAIR_CHECKSUM) != 0;
        const std::size_t length = reader.Number(2);
        reply.bytes = ReadFrame(reader, reply.repairChecksum, length);
        input.replies.push_back(std::move(reply));
    }
    return input;
}

Bytes ConversationInput::Write() const {
    Bytes out;
    for (const Reply& reply : replies) {
        PutNumber(out, reply.repairChecksum ? REPAIR_CHECKSUM : 0, 1);
        PutNumber(out, static_cast<std::uint32_t>(reply.bytes.size()), 2);
        PutBytes(out, reply.bytes);
    }
    return out;
}

EventLineInput EventLineInput::Read(const std::uint8_t* data, std::size_t size) {
    ByteReader reader(data, size);
    EventLineInput input;
    input.event = reader.Byte();
    input.comPort = static_cast<std::int32_t>(reader.Number(4));
    input.address = static_cast<std::int32_t>(reader.Number(4));
    input.when = reader.Number(4);
    const Bytes serial = reader.Rest();
    input.serialNo.assign(serial.begin(), serial.end());
    return input;
}

Bytes EventLineInput::Write() const {
    Bytes out;
    PutNumber(out, event, 1);
    PutNumber(out, static_cast<std::uint32_t>(comPort), 4);
    PutNumber(out, static_cast<std::uint32_t>(address), 4);
    PutNumber(out, when, 4);
    out.insert(out.end(), serialNo.begin(), serialNo.end());
    return out;
}
