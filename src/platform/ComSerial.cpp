#include "ComSerial.h"

#include "Deadline.h"
#include "LineSettings.h"
#include "Log.h"
#include "PortDirectory.h"
#include "ReplyGather.h"
#include "Trace.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

namespace {

constexpr int OPEN_TIMEOUT_CONSTANT_MS = 100;
constexpr short HANG_UP_EVENTS = POLLHUP | POLLERR | POLLNVAL;

enum class WaitResult { Ready, TimedOut, HungUp, Failed };

WaitResult WaitFor(int fd, short events, const Deadline& deadline) {
    pollfd entry{fd, events, 0};
    for (;;) {
        const timespec left = deadline.Remaining();
        const int ready = ppoll(&entry, 1, &left, nullptr);
        if (ready > 0) {
            return (entry.revents & HANG_UP_EVENTS) != 0 ? WaitResult::HungUp : WaitResult::Ready;
        }
        if (ready == 0) {
            return WaitResult::TimedOut;
        }
        if (errno != EINTR) {
            return WaitResult::Failed;
        }
    }
}

bool IsTransient(int error) {
    return error == EAGAIN || error == EINTR;
}

// What an unplugged adapter or a pty without its master reports.
bool IsVanished(int error) {
    return error == EIO || error == ENODEV || error == ENXIO;
}

std::string ErrorText(int error) {
    const std::string text = std::strerror(error);
    return error == EACCES || error == EPERM ? text + ": add the user to the dialout group" : text;
}

void SleepOneMillisecond() {
    const timespec pause{0, 1'000'000};
    nanosleep(&pause, nullptr);
}

} // namespace

CSerial::CSerial(int port, int baud, int parity, int dataBits, int stopBits)
    : m_nCommPort(port), m_nCommBaud(baud), m_nCommParity(parity), m_nCommDataBits(dataBits),
      m_nCommStopBits(stopBits) {}

CSerial::CSerial(const SerialSettings& settings)
    : CSerial(settings.port, settings.baud, settings.parity, settings.dataBits, settings.stopBits) {
}

CSerial::~CSerial() {
    Close();
}

int CSerial::Open() {
    if (IsOpen()) {
        Close();
    }
    const int fd = OpenDevice();
    if (fd < 0) {
        m_hComm = INVALID_HANDLE;
        return 0;
    }
    m_hComm = fd;
    m_strLastError.clear();
    // Queue sizes stay the driver's: Linux has no portable call to set them,
    // and its buffers are larger than any frame.
    if (!ApplyLineSettings(fd, Settings())) {
        Trace("'CSerial::Open': COM%d keeps its line settings: %s\n", m_nCommPort,
              std::strerror(errno));
    }
    SetTimeouts(OPEN_TIMEOUT_CONSTANT_MS, OPEN_TIMEOUT_CONSTANT_MS);
    PurgeRx();
    PurgeTx();
    return 1;
}

// Only a terminal is a serial line: a regular file would take the requests
// and a read of /dev/null would end at once, forever. Root is not kept out by
// TIOCEXCL, so the lock is what stops a second user, in this process or
// another.
//
// A port once reached through its entry keeps to it: while the adapter is
// pulled the entry is gone, and /dev/ttyS<n-1> would be another device, held
// on to even after the adapter is back.
int CSerial::OpenDevice() {
    const std::string entry = PortEntryPath(m_nCommPort);
    const std::string path = m_bThroughEntry ? entry : PortDevicePath(m_nCommPort);
    const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        m_strLastError = ErrorText(errno);
        return -1;
    }
    termios line{};
    if (tcgetattr(fd, &line) != 0) {
        m_strLastError = "not a serial device";
        close(fd);
        return -1;
    }
    ioctl(fd, TIOCEXCL);
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        m_strLastError = errno == EWOULDBLOCK ? "in use by another program" : ErrorText(errno);
        close(fd);
        return -1;
    }
    m_bThroughEntry = path == entry;
    return fd;
}

SerialSettings CSerial::Settings() const {
    return {m_nCommPort, m_nCommBaud, m_nCommParity, m_nCommDataBits, m_nCommStopBits};
}

bool CSerial::IsOpen() const {
    return m_hComm != NO_HANDLE && m_hComm != INVALID_HANDLE;
}

void CSerial::Close() {
    if (m_hComm == NO_HANDLE) {
        return;
    }
    if (IsOpen()) {
        PurgeRx();
        PurgeTx();
        // Explicitly, in case a forked child still shares the descriptor.
        flock(m_hComm, LOCK_UN);
        // The exclusive flag outlives this descriptor while another one is
        // open, and would keep a non-root station from opening the port again.
        ioctl(m_hComm, TIOCNXCL);
        close(m_hComm);
    }
    m_hComm = NO_HANDLE;
}

int CSerial::SetTimeouts(int readConstantMs, int writeConstantMs) {
    if (m_hComm == NO_HANDLE) {
        Trace("'CSerial::SetTimeouts': NULL handle !\n");
        return 0;
    }
    if (!IsOpen()) {
        return 0;
    }
    m_nReadConstantMs = readConstantMs;
    m_nWriteConstantMs = writeConstantMs;
    return 1;
}

void CSerial::PurgeRx() {
    if (m_hComm == NO_HANDLE) {
        Trace("'CSerial::PurgeRx': NULL handle !\n");
        return;
    }
    if (IsOpen()) {
        tcflush(m_hComm, TCIFLUSH);
    }
}

void CSerial::PurgeTx() {
    if (m_hComm == NO_HANDLE) {
        Trace("'CSerial::PurgeTx': NULL handle !\n");
        return;
    }
    if (IsOpen()) {
        tcflush(m_hComm, TCOFLUSH);
    }
}

int CSerial::Send(const std::uint8_t* bytes, int count) {
    if (bytes == nullptr) {
        return 0;
    }
    if (m_hComm == NO_HANDLE) {
        Trace("'CSerial::Send': NULL handle !\n");
        return 0;
    }
    if (!IsOpen() || count < 0) {
        return 0;
    }
    // Earlier output is let out rather than purged: discarding it would cut
    // the previous frame short on the wire.
    DrainOutput();
    tcflush(m_hComm, TCIFLUSH);
    return WriteAll(bytes, count, Deadline(count + m_nWriteConstantMs)) ? 1 : 0;
}

bool CSerial::CanRead(const std::uint8_t* buffer, int count) const {
    if (buffer == nullptr) {
        return false;
    }
    if (m_hComm == NO_HANDLE) {
        Trace("'Receive': NULL handle !\n");
        return false;
    }
    return IsOpen() && count > 0;
}

int CSerial::Receive(std::uint8_t* buffer, int& count) {
    if (!CanRead(buffer, count)) {
        return 0;
    }
    const int received = Gather(buffer, count, Deadline(count + m_nReadConstantMs));
    if (received <= 0) {
        return 0;
    }
    count = received;
    return 1;
}

// The open port as a read that may end early sees it: the same waits and
// the same handling of a vanished device as a plain read.
class CSerial::PortLine : public ReplyLine {
public:
    explicit PortLine(CSerial& port) : m_port(port) {}

    Time Now() override { return Deadline::SinceOrigin(); }

    void PauseUntil(Time then) override {
        const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(then);
        const timespec at{static_cast<time_t>(seconds.count()),
                          static_cast<long>((then - seconds).count())};
        while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &at, nullptr) == EINTR) {
        }
    }

    int AwaitByte(Time until) override {
        if (m_port.AwaitReady(POLLIN, Deadline(until))) {
            return 1;
        }
        return m_port.IsOpen() ? 0 : -1;
    }

    int ReadWaiting(std::uint8_t* buffer, int room) override {
        const ssize_t result = read(m_port.m_hComm, buffer, static_cast<std::size_t>(room));
        if (result > 0) {
            return static_cast<int>(result);
        }
        if (result == 0) {
            m_port.DropVanishedPort();
            return -1;
        }
        if (IsTransient(errno)) {
            return 0;
        }
        m_port.KeepIoError("read", errno);
        return -1;
    }

private:
    CSerial& m_port;
};

ReceiveOutcome CSerial::ReceiveWhole(std::uint8_t* buffer, int& count, const ReplyEnd& end) {
    if (!CanRead(buffer, count)) {
        return ReceiveOutcome::Nothing;
    }
    PortLine line(*this);
    const auto deadline = line.Now() + std::chrono::milliseconds(count + m_nReadConstantMs);
    return GatherReply(line, buffer, count, end, deadline, CharacterTime(Settings()));
}

void CSerial::DrainOutput() {
    int pending = 0;
    if (ioctl(m_hComm, TIOCOUTQ, &pending) != 0 || pending <= 0) {
        return;
    }
    const Deadline deadline(pending + m_nWriteConstantMs);
    while (ioctl(m_hComm, TIOCOUTQ, &pending) == 0 && pending > 0) {
        if (deadline.Passed()) {
            // Stuck output would only hold the new frame back behind it.
            tcflush(m_hComm, TCOFLUSH);
            return;
        }
        SleepOneMillisecond();
    }
}

bool CSerial::WriteAll(const std::uint8_t* bytes, int count, const Deadline& deadline) {
    int written = 0;
    while (written < count) {
        const ssize_t result = write(m_hComm, bytes + written, count - written);
        if (result > 0) {
            written += static_cast<int>(result);
            continue;
        }
        if (result < 0 && !IsTransient(errno)) {
            KeepIoError("write", errno);
            return false;
        }
        if (!AwaitReady(POLLOUT, deadline)) {
            return false;
        }
    }
    m_strToldIoError.clear();
    return true;
}

int CSerial::Gather(std::uint8_t* buffer, int count, const Deadline& deadline) {
    int received = 0;
    while (received < count && AwaitReady(POLLIN, deadline)) {
        const ssize_t result = read(m_hComm, buffer + received, count - received);
        if (result == 0) {
            // Ready yet nothing to read: the line has hung up.
            DropVanishedPort();
            return -1;
        }
        if (result < 0 && !IsTransient(errno)) {
            KeepIoError("read", errno);
            return -1;
        }
        received += result > 0 ? static_cast<int>(result) : 0;
    }
    return IsOpen() ? received : -1;
}

bool CSerial::AwaitReady(short events, const Deadline& deadline) {
    const WaitResult result = WaitFor(m_hComm, events, deadline);
    if (result == WaitResult::HungUp) {
        DropVanishedPort();
    }
    return result == WaitResult::Ready;
}

void CSerial::KeepIoError(const char* what, int error) {
    m_strLastError = std::string(what) + ": " + ErrorText(error);
    if (IsVanished(error)) {
        DropVanishedPort();
        return;
    }
    if (m_strLastError != m_strToldIoError) {
        Log(LogLevel::Warning, "COM" + std::to_string(m_nCommPort) + ": " + m_strLastError);
        m_strToldIoError = m_strLastError;
    }
}

// The port counts as not open from here on, so the communication thread
// re-opens it on its next pass once the device is back.
void CSerial::DropVanishedPort() {
    close(m_hComm);
    m_hComm = INVALID_HANDLE;
}
