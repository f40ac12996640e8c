#pragma once

#include "comm/BusMessage.h"
#include "platform/SerialPort.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class FakeClock;
using Bytes = std::vector<std::uint8_t>;

// The wire as a scripted port sees it: every request, and a responder that
// decides the bytes of the answer (empty: silence).
struct ScriptedWire {
    struct Sent {
        BusMessage message;
        std::int64_t atMs = 0;
    };
    // Bytes that reach the port afterMs after the request's last byte left.
    struct Burst {
        std::int64_t afterMs = 0;
        Bytes bytes;
    };
    std::vector<Sent> sent;
    std::function<Bytes(const BusMessage& request)> responder;
    // When set, answers in bursts spread over time instead of all at once.
    std::function<std::vector<Burst>(const BusMessage& request)> timedResponder;
    bool openFails = false;
    std::string openError = "Permission denied";
    int opens = 0;
    int portsCreated = 0;
    std::vector<int> createdForPorts;

    std::vector<BusMessage> SentWith(std::uint8_t control, std::uint8_t function) const;
};

// A serial port in virtual time: a read that is not complete costs the full
// read deadline, as on the real line; a write costs its transmission time; a
// character takes 1 ms. A purge drops the bytes that have arrived, not those
// still to come.
class ScriptedPort : public SerialPort {
public:
    ScriptedPort(ScriptedWire& wire, FakeClock& clock) : m_wire(wire), m_clock(clock) {}

    int Open() override;
    bool IsOpen() const override { return m_bOpen; }
    void Close() override { m_bOpen = false; }
    void PurgeRx() override;
    void PurgeTx() override {}
    int Send(const std::uint8_t* bytes, int count) override;
    int Receive(std::uint8_t* buffer, int& count) override;
    std::string LastError() const override { return m_bOpen ? std::string() : m_wire.openError; }
    ReceiveOutcome ReceiveWhole(std::uint8_t* buffer, int& count, const ReplyEnd& end) override;

private:
    class Line;
    struct Arrival {
        std::int64_t atMs;
        std::uint8_t byte;
    };

    void Schedule(const std::vector<ScriptedWire::Burst>& bursts);
    // Moves up to room bytes that have arrived by atMs into buffer.
    int Take(std::uint8_t* buffer, int room, std::int64_t atMs);

    ScriptedWire& m_wire;
    FakeClock& m_clock;
    bool m_bOpen = false;
    std::deque<Arrival> m_pending; // in order of arrival
};

// A reply frame from an inverter at source, answering requestFunction.
Bytes ReplyFrame(std::uint8_t source, std::uint8_t control, std::uint8_t requestFunction,
                 const Bytes& data, std::uint8_t destination = 1);
