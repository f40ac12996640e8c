#include "LineSettings.h"

#include <optional>

namespace {

std::optional<speed_t> SpeedCode(int baud) {
    switch (baud) {
    case 50: return B50;
    case 75: return B75;
    case 110: return B110;
    case 134: return B134;
    case 150: return B150;
    case 200: return B200;
    case 300: return B300;
    case 600: return B600;
    case 1200: return B1200;
    case 1800: return B1800;
    case 2400: return B2400;
    case 4800: return B4800;
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    case 230400: return B230400;
    case 460800: return B460800;
    case 500000: return B500000;
    case 576000: return B576000;
    case 921600: return B921600;
    case 1000000: return B1000000;
    case 1152000: return B1152000;
    case 1500000: return B1500000;
    case 2000000: return B2000000;
    default: return std::nullopt;
    }
}

std::optional<tcflag_t> CharacterSize(int dataBits) {
    switch (dataBits) {
    case 5: return CS5;
    case 6: return CS6;
    case 7: return CS7;
    case 8: return CS8;
    default: return std::nullopt;
    }
}

tcflag_t ParityFlags(int parity) {
    switch (parity) {
    case 1: return PARENB | PARODD;
    case 2: return PARENB;
    case 3: return PARENB | CMSPAR | PARODD;
    case 4: return PARENB | CMSPAR;
    default: return 0;
    }
}

// Binary frames pass untouched: no line editing, echo, signals, character
// translation or flow control. Parity errors are left to the frame checksum.
// A read never waits inside the driver because the caller keeps its own
// deadline.
void MakeRaw(termios& line) {
    line.c_iflag &= ~(IGNBRK | BRKINT | IGNPAR | PARMRK | INPCK | ISTRIP | INLCR | IGNCR | ICRNL |
                      IUCLC | IXON | IXOFF | IXANY | IMAXBEL);
    line.c_oflag &= ~OPOST;
    line.c_lflag &= ~(ECHO | ECHOE | ECHOK | ECHONL | ICANON | ISIG | IEXTEN);
    line.c_cflag &= ~CRTSCTS;
    line.c_cflag |= CREAD | CLOCAL;
    line.c_cc[VMIN] = 0;
    line.c_cc[VTIME] = 0;
}

void ApplyFraming(termios& line, const SerialSettings& settings) {
    if (const auto size = CharacterSize(settings.dataBits)) {
        line.c_cflag = (line.c_cflag & ~CSIZE) | *size;
    }
    line.c_cflag = (line.c_cflag & ~(PARENB | PARODD | CMSPAR)) | ParityFlags(settings.parity);
    if (settings.stopBits == 0) {
        line.c_cflag &= ~CSTOPB;
    } else {
        line.c_cflag |= CSTOPB;
    }
}

} // namespace

termios RawLine(const termios& current, const SerialSettings& settings) {
    termios line = current;
    if (const auto speed = SpeedCode(settings.baud)) {
        cfsetispeed(&line, *speed);
        cfsetospeed(&line, *speed);
    }
    ApplyFraming(line, settings);
    MakeRaw(line);
    return line;
}

bool ApplyLineSettings(int fd, const SerialSettings& settings) {
    termios current{};
    if (tcgetattr(fd, &current) != 0) {
        return false;
    }
    const termios line = RawLine(current, settings);
    return tcsetattr(fd, TCSANOW, &line) == 0;
}

std::chrono::nanoseconds CharacterTime(const SerialSettings& settings) {
    constexpr long long DEFAULT_BAUD = 9600;
    // In half bits, for one and a half stop bits.
    const long long halfBits = 2LL * (1 + settings.dataBits + (settings.parity != 0 ? 1 : 0)) +
                               (settings.stopBits == 0 ? 2 : settings.stopBits + 2);
    const long long baud = settings.baud > 0 ? settings.baud : DEFAULT_BAUD;
    return std::chrono::nanoseconds(halfBits * 1'000'000'000LL / (2 * baud));
}
