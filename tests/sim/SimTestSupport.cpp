#include "SimTestSupport.h"

#include <cstdlib>
#include <ctime>

namespace simtest {

namespace {
const bool g_utc = [] {
    setenv("TZ", "UTC0", 1);
    tzset();
    return true;
}();
} // namespace

std::int64_t UtcTime(int year, int month, int day, int hour, int minute, int second) {
    std::tm calendar{};
    calendar.tm_year = year - 1900;
    calendar.tm_mon = month - 1;
    calendar.tm_mday = day;
    calendar.tm_hour = hour;
    calendar.tm_min = minute;
    calendar.tm_sec = second;
    return timegm(&calendar);
}

Bytes WireFrame(std::uint8_t source, std::uint8_t destination, std::uint8_t control,
                std::uint8_t function, const Bytes& data) {
    Bytes frame{
        0xA5, 0xA5, source, destination, control, function, static_cast<std::uint8_t>(data.size())};
    frame.insert(frame.end(), data.begin(), data.end());
    unsigned sum = 0;
    for (const std::uint8_t byte : frame) {
        sum += byte;
    }
    const unsigned checksum = (0x10000U - (sum & 0xFFFFU)) & 0xFFFFU;
    frame.push_back(static_cast<std::uint8_t>(checksum >> 8));
    frame.push_back(static_cast<std::uint8_t>(checksum & 0xFF));
    frame.push_back(0x0A);
    frame.push_back(0x0D);
    return frame;
}

BusMessage Request(std::uint8_t destination, std::uint8_t control, std::uint8_t function,
                   const Bytes& data) {
    BusMessage message;
    message.SetRequest(destination, control, function, static_cast<std::uint8_t>(data.size()));
    std::copy(data.begin(), data.end(), message.Data());
    return message;
}

Bytes SerialBytes(const std::string& serial) {
    Bytes bytes(serial.begin(), serial.end());
    bytes.resize(16, 0);
    return bytes;
}

Bytes Concat(Bytes first, const Bytes& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

Bytes FrameData(const Bytes& frame) {
    return Bytes(frame.begin() + 7, frame.begin() + 7 + frame[6]);
}

std::uint16_t Word(const Bytes& data, std::size_t index) {
    return static_cast<std::uint16_t>(data[2 * index] << 8 | data[2 * index + 1]);
}

} // namespace simtest
