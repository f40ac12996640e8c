#include "SerialLineFixture.h"
#include "platform/Trace.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The trace switch is read once, so it has to be on before any test runs.
[[maybe_unused]] const bool g_traceOn = setenv("HELIOWATCH_TRACE", "1", 1) == 0;

TEST_F(SerialLineTest, OpenOnAnOpenPortReopensIt) {
    ASSERT_EQ(m_serial.Open(), 1);
    ASSERT_EQ(m_serial.Open(), 1);

    EXPECT_TRUE(m_serial.IsOpen());
    EXPECT_TRUE(ArrivesIntact(Sequence(8, 0x30)));
}

TEST_F(SerialLineTest, SecondUserIsKeptOutUntilTheFirstCloses) {
    CSerial second(SerialSettings{PORT, 9600, 0, 8, 0});
    ASSERT_EQ(m_serial.Open(), 1);

    EXPECT_EQ(second.Open(), 0);
    EXPECT_FALSE(second.IsOpen());
    EXPECT_EQ(second.m_hComm, CSerial::INVALID_HANDLE);
    EXPECT_EQ(second.LastError(), "in use by another program");

    m_serial.Close();
    EXPECT_EQ(m_serial.m_hComm, CSerial::NO_HANDLE);
    EXPECT_EQ(second.Open(), 1);
    EXPECT_EQ(second.LastError(), "");
}

TEST_F(SerialLineTest, VanishedPortFailsReceiveAndOpensAgainOnceBack) {
    ASSERT_EQ(m_serial.Open(), 1);
    m_pty.CloseMaster();

    std::vector<std::uint8_t> buffer(269);
    int count = 269;
    EXPECT_EQ(m_serial.Receive(buffer.data(), count), 0);
    EXPECT_EQ(count, 269);
    EXPECT_FALSE(m_serial.IsOpen());
    EXPECT_EQ(m_serial.Open(), 0);

    PtyPair replacement;
    ASSERT_TRUE(replacement.LinkAs(m_directory.Path(), PORT));
    ASSERT_EQ(m_serial.Open(), 1);
    const auto request = Sequence(6, 0x55);
    ASSERT_EQ(m_serial.Send(request.data(), static_cast<int>(request.size())), 1);
    EXPECT_EQ(replacement.Read(request.size(), std::chrono::seconds(1)), request);
}

// Not /dev/ttyS2 meanwhile: another device, kept after the adapter is back.
TEST_F(SerialLineTest, PulledAdapterIsAwaitedUnderItsEntry) {
    ASSERT_EQ(m_serial.Open(), 1);
    m_pty.CloseMaster();
    ASSERT_EQ(unlink(PortEntryPath(PORT).c_str()), 0);
    std::uint8_t byte = 0;
    int count = 1;
    EXPECT_EQ(m_serial.Receive(&byte, count), 0);

    EXPECT_EQ(m_serial.Open(), 0);
    EXPECT_EQ(m_serial.LastError(), "No such file or directory") << "the entry, not /dev/ttyS";
    PtyPair replacement;
    ASSERT_TRUE(replacement.LinkAs(m_directory.Path(), PORT));
    EXPECT_EQ(m_serial.Open(), 1);
}

TEST_F(SerialLineTest, VanishedPortFailsSendAndStaysQuiet) {
    ASSERT_EQ(m_serial.Open(), 1);
    m_pty.CloseMaster();
    const auto request = Sequence(6, 0x55);

    testing::internal::CaptureStderr();
    EXPECT_EQ(m_serial.Send(request.data(), static_cast<int>(request.size())), 0);
    EXPECT_FALSE(m_serial.IsOpen());
    EXPECT_EQ(m_serial.Send(request.data(), static_cast<int>(request.size())), 0);
    m_serial.Close();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(m_serial.m_hComm, CSerial::NO_HANDLE);
}

TEST(SerialFailedOpen, LeavesThePortClosedAndSilent) {
    TempDirectory directory;
    ASSERT_EQ(symlink("/nonexistent/tty", (directory.Path() + "/COM5").c_str()), 0);
    SetPortDirectory(directory.Path());
    CSerial serial(5, 9600, 0, 8, 0);

    testing::internal::CaptureStderr();
    EXPECT_EQ(serial.Open(), 0);
    EXPECT_FALSE(serial.IsOpen());
    EXPECT_EQ(serial.m_hComm, CSerial::INVALID_HANDLE);
    std::uint8_t bytes[4] = {1, 2, 3, 4};
    int count = 4;
    EXPECT_EQ(serial.Send(bytes, 4), 0);
    EXPECT_EQ(serial.Receive(bytes, count), 0);
    EXPECT_EQ(count, 4);
    serial.PurgeRx();
    serial.PurgeTx();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");

    serial.Close();
    EXPECT_EQ(serial.m_hComm, CSerial::NO_HANDLE);
    SetPortDirectory("");
}

// A regular file would take the requests; /dev/null or a FIFO would make
// every read end at once, and the port thread spin.
TEST(SerialFailedOpen, OnlyATerminalIsASerialPortAndTheReasonIsKept) {
    TempDirectory directory;
    const std::string regular = directory.Path() + "/COM6";
    std::ofstream(regular) << "keep";
    ASSERT_EQ(symlink("/nonexistent/tty", (directory.Path() + "/COM5").c_str()), 0);
    ASSERT_EQ(symlink("/dev/null", (directory.Path() + "/COM7").c_str()), 0);
    ASSERT_EQ(mkfifo((directory.Path() + "/COM8").c_str(), 0600), 0);
    SetPortDirectory(directory.Path());
    const std::pair<int, const char*> cases[] = {{5, "No such file or directory"},
                                                 {6, "not a serial device"},
                                                 {7, "not a serial device"},
                                                 {8, "not a serial device"}};
    for (const auto& [port, reason] : cases) {
        CSerial serial(port, 9600, 0, 8, 0);
        EXPECT_EQ(serial.Open(), 0) << port;
        EXPECT_FALSE(serial.IsOpen()) << port;
        EXPECT_EQ(serial.LastError(), reason) << port;
    }
    std::ifstream file(regular);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(file), {}), "keep");
    SetPortDirectory("");
}

TEST(SerialNeverOpened, RefusesEveryOperationWithItsDiagnostic) {
    ASSERT_TRUE(TraceEnabled());
    CSerial serial;
    std::uint8_t bytes[4] = {};
    int count = 4;

    testing::internal::CaptureStderr();
    EXPECT_EQ(serial.SetTimeouts(100, 100), 0);
    serial.PurgeRx();
    serial.PurgeTx();
    EXPECT_EQ(serial.Send(bytes, 4), 0);
    EXPECT_EQ(serial.Receive(bytes, count), 0);
    EXPECT_EQ(serial.Send(nullptr, 4), 0);
    EXPECT_EQ(serial.Receive(nullptr, count), 0);
    serial.Close();

    EXPECT_EQ(testing::internal::GetCapturedStderr(), "'CSerial::SetTimeouts': NULL handle !\n"
                                                      "'CSerial::PurgeRx': NULL handle !\n"
                                                      "'CSerial::PurgeTx': NULL handle !\n"
                                                      "'CSerial::Send': NULL handle !\n"
                                                      "'Receive': NULL handle !\n");
    EXPECT_EQ(count, 4);
    EXPECT_FALSE(serial.IsOpen());
    EXPECT_EQ(serial.m_hComm, CSerial::NO_HANDLE);
}

} // namespace
