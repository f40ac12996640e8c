#pragma once

#include "Protocol.h"

#include <array>
#include <cstdint>

// A request or reply without its framing: source, destination, control,
// function, data length, then the data.
struct BusMessage {
    std::array<std::uint8_t, MESSAGE_SIZE> bytes{};

    void Clear() { bytes.fill(0); }
    // Clears the message and fills in a request header from the station.
    void SetRequest(std::uint8_t destination, std::uint8_t control, std::uint8_t function,
                    std::uint8_t length = 0) {
        Clear();
        bytes[0] = MONITOR_ADDRESS;
        bytes[1] = destination;
        bytes[2] = control;
        bytes[3] = function;
        bytes[4] = length;
    }

    std::uint8_t Source() const { return bytes[0]; }
    std::uint8_t Destination() const { return bytes[1]; }
    std::uint8_t Control() const { return bytes[2]; }
    std::uint8_t Function() const { return bytes[3]; }
    std::uint8_t Length() const { return bytes[4]; }
    std::uint8_t* Data() { return bytes.data() + MESSAGE_HEADER_SIZE; }
    const std::uint8_t* Data() const { return bytes.data() + MESSAGE_HEADER_SIZE; }
};
