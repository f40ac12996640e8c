#pragma once

#include "ReplyEnd.h"

#include <cstdint>
#include <string>

// One serial line as the protocol layer sees it. CSerial is the real device;
// tests substitute a scripted port.
class SerialPort {
public:
    virtual ~SerialPort() = default;

    [[nodiscard]] virtual int Open() = 0;
    virtual bool IsOpen() const = 0;
    virtual void Close() = 0;
    virtual void PurgeRx() = 0;
    virtual void PurgeTx() = 0;
    // 1 when all count bytes were written, else 0.
    [[nodiscard]] virtual int Send(const std::uint8_t* bytes, int count) = 0;
    // 1 with count set to the bytes read when at least one arrived before the
    // deadline; 0 with count untouched otherwise.
    [[nodiscard]] virtual int Receive(std::uint8_t* buffer, int& count) = 0;
    // As Receive, but ends as soon as end finds the bytes read whole. A port
    // that cannot tell reads to its deadline.
    virtual ReceiveOutcome ReceiveWhole(std::uint8_t* buffer, int& count, const ReplyEnd& end) {
        (void)end;
        return Receive(buffer, count) == 1 ? ReceiveOutcome::Received : ReceiveOutcome::Nothing;
    }
    // Why the last Open failed, in words; empty when it did not.
    virtual std::string LastError() const { return {}; }
};

struct SerialSettings {
    int port = 0;
    int baud = 9600;
    int parity = 0; // 0 none, 1 odd, 2 even, 3 mark, 4 space
    int dataBits = 8;
    int stopBits = 0; // 0 one, 1 one and a half, 2 two
};
