#pragma once

#include "comm/BusMessage.h"
#include "platform/SerialPort.h"

#include <cstdint>
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
    std::vector<Sent> sent;
    std::function<Bytes(const BusMessage& request)> responder;
    bool openFails = false;
    std::string openError = "Permission denied";
    int opens = 0;
    int portsCreated = 0;
    std::vector<int> createdForPorts;

    std::vector<BusMessage> SentWith(std::uint8_t control, std::uint8_t function) const;
};

// A serial port in virtual time: a read that is not complete costs the full
// read deadline, as on the real line; a write costs its transmission time.
class ScriptedPort : public SerialPort {
public:
    ScriptedPort(ScriptedWire& wire, FakeClock& clock) : m_wire(wire), m_clock(clock) {}

    int Open() override;
    bool IsOpen() const override { return m_bOpen; }
    void Close() override { m_bOpen = false; }
    void PurgeRx() override { m_pending.clear(); }
    void PurgeTx() override {}
    int Send(const std::uint8_t* bytes, int count) override;
    int Receive(std::uint8_t* buffer, int& count) override;
    std::string LastError() const override { return m_bOpen ? std::string() : m_wire.openError; }

private:
    ScriptedWire& m_wire;
    FakeClock& m_clock;
    bool m_bOpen = false;
    Bytes m_pending;
};

// A reply frame from an inverter at source, answering requestFunction.
Bytes ReplyFrame(std::uint8_t source, std::uint8_t control, std::uint8_t requestFunction,
                 const Bytes& data, std::uint8_t destination = 1);
