#pragma once

#include "ScriptedPort.h"

#include <string>
#include <vector>

// Inverters as scripted as a test needs them; just enough of the protocol to
// drive the communication thread in virtual time.
struct FakeInverter {
    std::string serial;
    std::string describedSerial; // the description's serial number; empty: serial
    std::uint8_t address = 0;    // 0 while unregistered
    char phase = '1';
    Bytes runtimeFormat{0x44, 0x0D};
    Bytes runtimeValues{0x00, 0x64, 0x00, 0x0A}; // 10.0 W, 0.10 kWh
    Bytes paramFormat{0x40, 0x41};
    Bytes paramValues{0x05, 0xDC, 0x00, 0x3C};
    bool silent = false;
    bool ackAddress = true;
    bool describe = true;
    bool ackCommands = true;
    std::uint8_t replyDestination = 1;
    std::vector<BusMessage> received;
};

class FakePlant {
public:
    FakeInverter& Add(const std::string& serial, char phase = '1');
    FakeInverter* ByAddress(std::uint8_t address);
    Bytes Answer(const BusMessage& request);

    std::vector<FakeInverter> inverters;
    // Whether unregistered inverters all answer an offline query at once;
    // otherwise the first of them answers alone.
    bool collide = false;

private:
    Bytes AnswerBroadcast(const BusMessage& request);
    Bytes AnswerAddressed(FakeInverter& inverter, const BusMessage& request);
};

Bytes DeviceInfo(const FakeInverter& inverter);
