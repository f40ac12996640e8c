#include "ScriptedPort.h"

#include "FakeClock.h"
#include "comm/Frame.h"
#include "platform/ReplyGather.h"

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

void ScriptedPort::PurgeRx() {
    const std::int64_t now = m_clock.NowMs();
    while (!m_pending.empty() && m_pending.front().atMs <= now) {
        m_pending.pop_front();
    }
}

int ScriptedPort::Send(const std::uint8_t* bytes, int count) {
    if (!m_bOpen || bytes == nullptr || count < static_cast<int>(FRAME_OVERHEAD)) {
        return 0;
    }
    PurgeRx();
    m_clock.Advance(WriteTime(count));
    BusMessage message;
    std::copy_n(bytes + 2, std::min<int>(count - 2, MESSAGE_SIZE), message.bytes.begin());
    m_wire.sent.push_back({message, m_clock.NowMs()});
    if (m_wire.timedResponder) {
        Schedule(m_wire.timedResponder(message));
    } else if (m_wire.responder) {
        Schedule({{0, m_wire.responder(message)}});
    }
    return 1;
}

void ScriptedPort::Schedule(const std::vector<ScriptedWire::Burst>& bursts) {
    const std::int64_t now = m_clock.NowMs();
    for (const ScriptedWire::Burst& burst : bursts) {
        for (const std::uint8_t byte : burst.bytes) {
            m_pending.push_back({now + burst.afterMs, byte});
        }
    }
    std::stable_sort(m_pending.begin(), m_pending.end(),
                     [](const Arrival& a, const Arrival& b) { return a.atMs < b.atMs; });
}

int ScriptedPort::Take(std::uint8_t* buffer, int room, std::int64_t atMs) {
    int taken = 0;
    while (taken < room && !m_pending.empty() && m_pending.front().atMs <= atMs) {
        buffer[taken++] = m_pending.front().byte;
        m_pending.pop_front();
    }
    return taken;
}

int ScriptedPort::Receive(std::uint8_t* buffer, int& count) {
    if (!m_bOpen || buffer == nullptr || count <= 0) {
        return 0;
    }
    const std::int64_t start = m_clock.NowMs();
    const std::int64_t deadline = start + count + 100;
    // A read that fills up ends with its last byte.
    const std::int64_t end =
        static_cast<int>(m_pending.size()) >= count && m_pending[count - 1].atMs <= deadline
            ? std::max(start, m_pending[count - 1].atMs)
            : deadline;
    m_clock.Advance(std::chrono::milliseconds(end - start));
    const int taken = Take(buffer, count, end);
    if (taken == 0) {
        return 0;
    }
    count = taken;
    return 1;
}

// The scripted bytes as a read that may end early sees them.
class ScriptedPort::Line : public ReplyLine {
public:
    explicit Line(ScriptedPort& port) : m_port(port) {}

    Time Now() override { return std::chrono::milliseconds(m_port.m_clock.NowMs()); }
    void PauseUntil(Time then) override { AdvanceTo(then); }

    int AwaitByte(Time until) override {
        if (!m_port.m_bOpen) {
            return -1;
        }
        if (!m_port.m_pending.empty()) {
            const Time next = std::chrono::milliseconds(m_port.m_pending.front().atMs);
            if (next <= until) {
                AdvanceTo(next);
                return 1;
            }
        }
        AdvanceTo(until);
        return 0;
    }

    int ReadWaiting(std::uint8_t* buffer, int room) override {
        return m_port.Take(buffer, room, m_port.m_clock.NowMs());
    }

private:
    void AdvanceTo(Time then) {
        const std::int64_t later =
            std::chrono::ceil<std::chrono::milliseconds>(then).count() - m_port.m_clock.NowMs();
        if (later > 0) {
            m_port.m_clock.Advance(std::chrono::milliseconds(later));
        }
    }

    ScriptedPort& m_port;
};

ReceiveOutcome ScriptedPort::ReceiveWhole(std::uint8_t* buffer, int& count, const ReplyEnd& end) {
    if (!m_bOpen || buffer == nullptr) {
        return ReceiveOutcome::Nothing;
    }
    Line line(*this);
    const ReplyLine::Time deadline = line.Now() + std::chrono::milliseconds(count + 100);
    return GatherReply(line, buffer, count, end, deadline, std::chrono::milliseconds(1));
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
