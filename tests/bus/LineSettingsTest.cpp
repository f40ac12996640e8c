#include "platform/LineSettings.h"

#include <gtest/gtest.h>
#include <string>

namespace {

// What a terminal looks like after an interactive user: cooked, with flow
// control, and framed differently from the inverter bus.
termios CookedTerminal() {
    termios line{};
    line.c_iflag = ICRNL | IXON | IXOFF | IXANY | ISTRIP | INLCR | IGNCR | BRKINT | INPCK;
    line.c_oflag = OPOST | ONLCR;
    line.c_cflag = CS7 | PARENB | PARODD | CSTOPB | CRTSCTS | HUPCL;
    line.c_lflag = ICANON | ECHO | ECHOE | ECHOK | ISIG | IEXTEN;
    line.c_cc[VINTR] = 3;
    line.c_cc[VMIN] = 1;
    line.c_cc[VTIME] = 5;
    cfsetispeed(&line, B38400);
    cfsetospeed(&line, B38400);
    return line;
}

struct Framing {
    const char* name;
    SerialSettings settings;
    speed_t speed;
    tcflag_t size;
    tcflag_t parity;
    bool twoStopBits;
};

class RawLineTest : public ::testing::TestWithParam<Framing> {};

TEST_P(RawLineTest, ReplacesTheFramingAndMakesTheLineRaw) {
    const Framing& expected = GetParam();
    const termios line = RawLine(CookedTerminal(), expected.settings);

    EXPECT_EQ(cfgetospeed(&line), expected.speed);
    EXPECT_EQ(cfgetispeed(&line), expected.speed);
    EXPECT_EQ(line.c_cflag & CSIZE, expected.size);
    EXPECT_EQ(line.c_cflag & (PARENB | PARODD | CMSPAR), expected.parity);
    EXPECT_EQ((line.c_cflag & CSTOPB) != 0, expected.twoStopBits);
    EXPECT_EQ(line.c_cflag & (CREAD | CLOCAL | CRTSCTS), CREAD | CLOCAL);
    EXPECT_EQ(line.c_iflag, 0u);
    EXPECT_EQ(line.c_oflag & OPOST, 0u);
    EXPECT_EQ(line.c_lflag, 0u);
    EXPECT_EQ(line.c_cc[VMIN], 0);
    EXPECT_EQ(line.c_cc[VTIME], 0);
}

INSTANTIATE_TEST_SUITE_P(
    Framings, RawLineTest,
    ::testing::Values(
        Framing{"Bus8N1", {1, 9600, 0, 8, 0}, B9600, CS8, 0, false},
        Framing{"Odd7Stop2", {1, 19200, 1, 7, 2}, B19200, CS7, PARENB | PARODD, true},
        Framing{"Even6Stop1Half", {1, 4800, 2, 6, 1}, B4800, CS6, PARENB, true},
        Framing{"Mark8", {1, 9600, 3, 8, 0}, B9600, CS8, PARENB | CMSPAR | PARODD, false},
        Framing{"Space5", {1, 115200, 4, 5, 0}, B115200, CS5, PARENB | CMSPAR, false}),
    [](const ::testing::TestParamInfo<Framing>& framing) {
        return std::string(framing.param.name);
    });

TEST(RawLine, KeepsWhatItHasNoCodeFor) {
    const termios line = RawLine(CookedTerminal(), SerialSettings{1, 12345, 0, 9, 0});

    EXPECT_EQ(cfgetospeed(&line), B38400);
    EXPECT_EQ(line.c_cflag & CSIZE, CS7);
}

TEST(RawLine, LeavesModemControlAndSpecialCharactersAlone) {
    const termios line = RawLine(CookedTerminal(), SerialSettings{1, 9600, 0, 8, 0});

    EXPECT_NE(line.c_cflag & HUPCL, 0u);
    EXPECT_EQ(line.c_cc[VINTR], 3);
}

} // namespace
