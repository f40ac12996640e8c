#include "SerialLineFixture.h"

#include <termios.h>

namespace {

constexpr int FULL_REPLY = 269;
constexpr double FULL_REPLY_DEADLINE_MS = 369.0;
// Loose on purpose: precise figures are the benchmark's business.
constexpr double LATE_MS = 1000.0;

TEST_F(SerialLineTest, ShortReplyIsReturnedOnlyAtTheDeadline) {
    ASSERT_EQ(m_serial.Open(), 1);
    const auto reply = Sequence(13, 0x40);
    ASSERT_TRUE(m_pty.Write(reply));

    std::vector<std::uint8_t> buffer(FULL_REPLY);
    int count = FULL_REPLY;
    int result = 0;
    const double taken =
        MillisecondsTaken([&] { result = m_serial.Receive(buffer.data(), count); });

    EXPECT_EQ(result, 1);
    ASSERT_EQ(count, 13);
    EXPECT_EQ(std::vector(buffer.begin(), buffer.begin() + count), reply);
    EXPECT_GE(taken, FULL_REPLY_DEADLINE_MS);
    EXPECT_LT(taken, LATE_MS);
}

TEST_F(SerialLineTest, SilentLineFailsAtTheDeadlineAndKeepsTheCount) {
    ASSERT_EQ(m_serial.Open(), 1);

    std::vector<std::uint8_t> buffer(FULL_REPLY);
    int count = FULL_REPLY;
    int result = 1;
    const double taken =
        MillisecondsTaken([&] { result = m_serial.Receive(buffer.data(), count); });

    EXPECT_EQ(result, 0);
    EXPECT_EQ(count, FULL_REPLY);
    EXPECT_GE(taken, FULL_REPLY_DEADLINE_MS);
    EXPECT_LT(taken, LATE_MS);
    // A pty whose master is held must not look hung up.
    EXPECT_TRUE(m_serial.IsOpen());
}

TEST_F(SerialLineTest, ReplyInPiecesIsGatheredAndReturnedOnceComplete) {
    ASSERT_EQ(m_serial.Open(), 1);
    // A deadline far away, so returning early is plainly not a time-out.
    ASSERT_EQ(m_serial.SetTimeouts(1000, 100), 1);
    const auto head = Sequence(5, 0x01);
    const auto tail = Sequence(6, 0x06);
    ASSERT_TRUE(m_pty.Write(head));
    std::thread lateWriter([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        m_pty.Write(tail);
    });

    std::vector<std::uint8_t> buffer(11);
    int count = 11;
    int result = 0;
    const double taken =
        MillisecondsTaken([&] { result = m_serial.Receive(buffer.data(), count); });
    lateWriter.join();

    EXPECT_EQ(result, 1);
    EXPECT_EQ(count, 11);
    EXPECT_EQ(buffer, Sequence(11, 0x01));
    EXPECT_LT(taken, 900.0);
}

TEST_F(SerialLineTest, SendDropsLateReplyBytesAndDeliversTheRequest) {
    ASSERT_EQ(m_serial.Open(), 1);
    ASSERT_TRUE(m_pty.Write(Sequence(7, 0xE0)));
    ASSERT_TRUE(WaitForInput(m_serial, 7));

    EXPECT_TRUE(ArrivesIntact(Sequence(11, 0x10)));

    const auto reply = Sequence(9, 0x80);
    ASSERT_TRUE(m_pty.Write(reply));
    std::vector<std::uint8_t> buffer(reply.size());
    int count = static_cast<int>(buffer.size());
    ASSERT_EQ(m_serial.Receive(buffer.data(), count), 1);
    EXPECT_EQ(buffer, reply);
}

// Every byte value crosses in both directions, even when the line was left in
// the terminal's cooked mode by its last user.
TEST_F(SerialLineTest, EveryByteValuePassesUnchanged) {
    termios line{};
    ASSERT_EQ(tcgetattr(m_pty.MasterFd(), &line), 0);
    line.c_iflag |= ICRNL | IXON | ISTRIP;
    line.c_oflag |= OPOST | ONLCR;
    line.c_lflag |= ICANON | ECHO | ISIG | IEXTEN;
    ASSERT_EQ(tcsetattr(m_pty.MasterFd(), TCSANOW, &line), 0);
    ASSERT_EQ(m_serial.Open(), 1);
    const auto everyValue = Sequence(256, 0x00);

    ASSERT_TRUE(m_pty.Write(everyValue));
    std::vector<std::uint8_t> buffer(everyValue.size());
    int count = static_cast<int>(buffer.size());
    ASSERT_EQ(m_serial.Receive(buffer.data(), count), 1);
    EXPECT_EQ(count, 256);
    EXPECT_EQ(buffer, everyValue);

    EXPECT_TRUE(ArrivesIntact(everyValue));
    EXPECT_TRUE(m_pty.Read(1, std::chrono::milliseconds(50)).empty());
}

// Framing beyond 8N1 cannot be seen here: Linux keeps a pty at CS8 without
// parity whatever it is told.
TEST_F(SerialLineTest, OpenLeavesA9600BaudRawLine) {
    ASSERT_EQ(m_serial.Open(), 1);

    termios line{};
    ASSERT_EQ(tcgetattr(m_serial.m_hComm, &line), 0);
    EXPECT_EQ(cfgetospeed(&line), B9600);
    EXPECT_EQ(cfgetispeed(&line), B9600);
    EXPECT_EQ(line.c_cflag & (CSIZE | PARENB | CSTOPB), CS8);
    EXPECT_EQ(line.c_lflag & (ICANON | ECHO | ISIG), 0u);
    EXPECT_EQ(line.c_cc[VMIN], 0);
    EXPECT_EQ(line.c_cc[VTIME], 0);
}

} // namespace
