#include "PtyTestSupport.h"

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <termios.h>
#include <unistd.h>

namespace simtest {

int OpenStationPort(const std::string& path) {
    const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return -1;
    }
    ioctl(fd, TIOCEXCL);
    flock(fd, LOCK_EX | LOCK_NB);
    termios line{};
    tcgetattr(fd, &line);
    cfmakeraw(&line);
    cfsetspeed(&line, B9600);
    tcsetattr(fd, TCSANOW, &line);
    tcflush(fd, TCIOFLUSH);
    return fd;
}

Bytes Exchange(int fd, const Bytes& frame, int firstMs, int quietMs) {
    tcflush(fd, TCIFLUSH);
    if (write(fd, frame.data(), frame.size()) != static_cast<ssize_t>(frame.size())) {
        return {};
    }
    Bytes received;
    for (int waitMs = firstMs;; waitMs = quietMs) {
        pollfd ready{fd, POLLIN, 0};
        if (poll(&ready, 1, waitMs) <= 0) {
            return received;
        }
        std::uint8_t chunk[300];
        const ssize_t count = read(fd, chunk, sizeof chunk);
        if (count <= 0) {
            return received;
        }
        received.insert(received.end(), chunk, chunk + count);
    }
}

ControlClient::ControlClient(const std::string& path)
    : m_fd(socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    path.copy(address.sun_path, sizeof address.sun_path - 1);
    connect(m_fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
}

ControlClient::~ControlClient() {
    close(m_fd);
}

std::string ControlClient::Send(const std::string& line) {
    const std::string request = line + "\n";
    if (write(m_fd, request.data(), request.size()) != static_cast<ssize_t>(request.size())) {
        return {};
    }
    std::string reply;
    char c = 0;
    while (read(m_fd, &c, 1) == 1 && c != '\n') {
        reply += c;
    }
    return reply;
}

} // namespace simtest
