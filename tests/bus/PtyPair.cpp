#include "PtyPair.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace {

int RemainingMs(std::chrono::steady_clock::time_point end) {
    const auto left =
        std::chrono::ceil<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

bool WaitFor(int fd, short events, std::chrono::steady_clock::time_point end) {
    pollfd entry{fd, events, 0};
    int ready = 0;
    do {
        ready = poll(&entry, 1, RemainingMs(end));
    } while (ready < 0 && errno == EINTR);
    return ready > 0 && (entry.revents & events) != 0;
}

} // namespace

PtyPair::PtyPair() {
    const int fd = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return;
    }
    const char* slave = grantpt(fd) == 0 && unlockpt(fd) == 0 ? ptsname(fd) : nullptr;
    termios line{};
    if (slave == nullptr || tcgetattr(fd, &line) != 0) {
        close(fd);
        return;
    }
    cfmakeraw(&line);
    tcsetattr(fd, TCSANOW, &line);
    m_masterFd = fd;
    m_slavePath = slave;
}

PtyPair::~PtyPair() {
    CloseMaster();
}

bool PtyPair::LinkAs(const std::string& directory, int port) const {
    const std::string entry = directory + "/COM" + std::to_string(port);
    std::remove(entry.c_str());
    return IsOpen() && symlink(m_slavePath.c_str(), entry.c_str()) == 0;
}

bool PtyPair::Write(const std::vector<std::uint8_t>& bytes) const {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t result = write(m_masterFd, bytes.data() + written, bytes.size() - written);
        if (result > 0) {
            written += static_cast<std::size_t>(result);
        } else if ((result < 0 && errno != EAGAIN && errno != EINTR) ||
                   !WaitFor(m_masterFd, POLLOUT, end)) {
            return false;
        }
    }
    return true;
}

std::vector<std::uint8_t> PtyPair::Read(std::size_t count,
                                        std::chrono::milliseconds timeout) const {
    const auto end = std::chrono::steady_clock::now() + timeout;
    std::vector<std::uint8_t> bytes(count);
    std::size_t received = 0;
    while (received < count && WaitFor(m_masterFd, POLLIN, end)) {
        const ssize_t result = read(m_masterFd, bytes.data() + received, count - received);
        if (result > 0) {
            received += static_cast<std::size_t>(result);
        } else if (result == 0 || (errno != EAGAIN && errno != EINTR)) {
            break;
        }
    }
    bytes.resize(received);
    return bytes;
}

void PtyPair::CloseMaster() {
    if (m_masterFd >= 0) {
        close(m_masterFd);
        m_masterFd = -1;
    }
}
