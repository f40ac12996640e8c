#include "ListenSocket.h"

#include "platform/SystemError.h"

#include <cerrno>
#include <cstring>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {
struct AddressList {
    addrinfo* first = nullptr;
    ~AddressList() {
        if (first != nullptr) {
            freeaddrinfo(first);
        }
    }
};

int PortOf(int fd) {
    sockaddr_storage bound{};
    socklen_t length = sizeof bound;
    if (getsockname(fd, reinterpret_cast<sockaddr*>(&bound), &length) != 0) {
        return -1;
    }
    if (bound.ss_family == AF_INET6) {
        return ntohs(reinterpret_cast<const sockaddr_in6*>(&bound)->sin6_port);
    }
    return ntohs(reinterpret_cast<const sockaddr_in*>(&bound)->sin_port);
}
} // namespace

// SO_REUSEADDR only lets a restarted station bind while old connections
// linger; unlike SO_REUSEPORT it never lets two listeners share the port.
Outcome<ListenSocket> ListenSocket::Open(const std::string& address, int port) {
    const std::string where = "cannot listen on " + address + " port " + std::to_string(port);
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_PASSIVE | AI_NUMERICSERV;
    AddressList list;
    const int lookup =
        getaddrinfo(address.c_str(), std::to_string(port).c_str(), &hints, &list.first);
    if (lookup != 0) {
        return Outcome<ListenSocket>::Failure(where + ": " + gai_strerror(lookup));
    }
    const addrinfo* chosen = list.first;
    const int fd =
        socket(chosen->ai_family, chosen->ai_socktype | SOCK_CLOEXEC, chosen->ai_protocol);
    if (fd < 0) {
        return Outcome<ListenSocket>::Failure(SystemError(where, errno));
    }
    const int on = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    if (chosen->ai_family == AF_INET6) {
        setsockopt(fd, IPPROTO_IPV6, IPV6_V6ONLY, &on, sizeof on);
    }
    if (bind(fd, chosen->ai_addr, chosen->ai_addrlen) != 0 || listen(fd, BACKLOG) != 0) {
        const int error = errno;
        close(fd);
        return Outcome<ListenSocket>::Failure(SystemError(where, error));
    }
    return ListenSocket(fd, PortOf(fd));
}

ListenSocket::ListenSocket(ListenSocket&& other) noexcept : m_fd(other.m_fd), m_port(other.m_port) {
    other.m_fd = -1;
}

ListenSocket::~ListenSocket() {
    if (m_fd >= 0) {
        close(m_fd);
    }
}

int ListenSocket::Release() {
    const int fd = m_fd;
    m_fd = -1;
    return fd;
}
