#include "CharacterTime.h"

#include <array>
#include <utility>

namespace sim {

namespace {
constexpr long DEFAULT_BITS_PER_SECOND = 9600;

long BitsPerSecond(speed_t speed) {
    static constexpr std::array<std::pair<speed_t, long>, 8> rates{{
        {B1200, 1200},
        {B2400, 2400},
        {B4800, 4800},
        {B9600, 9600},
        {B19200, 19200},
        {B38400, 38400},
        {B57600, 57600},
        {B115200, 115200},
    }};
    for (const auto& [code, rate] : rates) {
        if (code == speed) {
            return rate;
        }
    }
    return DEFAULT_BITS_PER_SECOND;
}

long DataBits(tcflag_t flags) {
    switch (flags & CSIZE) {
    case CS5: return 5;
    case CS6: return 6;
    case CS7: return 7;
    default: return 8;
    }
}
} // namespace

std::chrono::nanoseconds CharacterTime(const termios& line) {
    const long bits = 1 + DataBits(line.c_cflag) + ((line.c_cflag & PARENB) != 0 ? 1 : 0) +
                      ((line.c_cflag & CSTOPB) != 0 ? 2 : 1);
    return std::chrono::nanoseconds(bits * 1'000'000'000LL / BitsPerSecond(cfgetospeed(&line)));
}

} // namespace sim
