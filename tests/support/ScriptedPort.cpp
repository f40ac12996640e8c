#include "ScriptedPort.h"

#include "FakeClock.h"
#include "comm/Frame.h"

#include <algorithm>
#include <array>

namespace {
// 10 bits a byte at 9600 bit/s.
std::chrono::milliseconds WriteTime(int bytes) {
    return std::chrono::milliseconds((bytes * 10 * 1000 + 9599) / 9600);
}
} // namespace

std::vector<BusMessage> ScriptedWire::SentWith(std::uint8_t control, std::uint8_t function) const {
    std::vector<BusMessage> found;
    for (const Sent& item : sent) {
        if (item.message.Control() == control && item.message.Function() == function) {
            found.push_back(item.message);
        }
    }
    return found;
}

int ScriptedPort::Open() {
    ++m_wire.opens;
    m_bOpen = !m_wire.openFails;
    return m_bOpen ? 1 : 0;
}

int ScriptedPort::Send(const std::uint8_t* bytes, int count) {
    if (!m_bOpen || bytes == nullptr || count < static_cast<int>(FRAME_OVERHEAD)) {
        return 0;
    }
    m_clock.Advance(WriteTime(count));
    BusMessage message;
    std::copy_n(bytes + 2, std::min<int>(count - 2, MESSAGE_SIZE), message.bytes.begin());
    m_wire.sent.push_back({message, m_clock.NowMs()});
    m_pending = m_wire.responder ? m_wire.responder(message) : Bytes{};
    return 1;
}

int ScriptedPort::Receive(std::uint8_t* buffer, int& count) {
    if (!m_bOpen || buffer == nullptr) {
        return 0;
    }
    const int available = std::min<int>(count, static_cast<int>(m_pending.size()));
    if (available < count) {
        m_clock.Advance(std::chrono::milliseconds(count + 100));
    }
    if (available == 0) {
        return 0;
    }
    std::copy_n(m_pending.begin(), available, buffer);
    m_pending.erase(m_pending.begin(), m_pending.begin() + available);
    count = available;
    return 1;
}

Bytes ReplyFrame(std::uint8_t source, std::uint8_t control, std::uint8_t requestFunction,
                 const Bytes& data, std::uint8_t destination) {
    BusMessage message;
    message.bytes[0] = source;
    message.bytes[1] = destination;
    message.bytes[2] = control;
    message.bytes[3] = static_cast<std::uint8_t>(~requestFunction);
    message.bytes[4] = static_cast<std::uint8_t>(data.size());
    std::copy(data.begin(), data.end(), message.Data());
    std::array<std::uint8_t, FRAME_BUFFER_SIZE> frame{};
    const std::size_t length = BuildFrame(frame.data(), message);
    return Bytes(frame.begin(), frame.begin() + static_cast<std::ptrdiff_t>(length));
}
