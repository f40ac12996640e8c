#pragma once

#include "SimClock.h"
#include "comm/BusMessage.h"

#include <cstdint>
#include <string>
#include <vector>

namespace simtest {

using Bytes = std::vector<std::uint8_t>;

class FixedClock : public sim::SimClock {
public:
    explicit FixedClock(std::int64_t now) : m_now(now) {}
    std::int64_t Now() const override { return m_now; }
    void Set(std::int64_t now) { m_now = now; }
    void Advance(std::int64_t seconds) { m_now += seconds; }

private:
    std::int64_t m_now;
};

// Seconds since the epoch of a UTC calendar time; the tests run with TZ=UTC,
// so this is also local time.
std::int64_t UtcTime(int year, int month, int day, int hour, int minute, int second = 0);

// A frame as the tables describe it, checksum summed here rather than by the
// code under test.
Bytes WireFrame(std::uint8_t source, std::uint8_t destination, std::uint8_t control,
                std::uint8_t function, const Bytes& data = {});

// The station's request message.
BusMessage Request(std::uint8_t destination, std::uint8_t control, std::uint8_t function,
                   const Bytes& data = {});

Bytes SerialBytes(const std::string& serial);
Bytes Concat(Bytes first, const Bytes& second);
// Data of a reply frame, between the header and the checksum.
Bytes FrameData(const Bytes& frame);
std::uint16_t Word(const Bytes& data, std::size_t index);

} // namespace simtest
