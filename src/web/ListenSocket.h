#pragma once

#include "platform/Outcome.h"

#include <string>

// A TCP socket listening on one address and port, bound so that no other
// program can listen there at the same time.
class ListenSocket {
public:
    static constexpr int BACKLOG = 128;

    // port 0: any free port. The reason names the address and the system's
    // words ("Address already in use").
    static Outcome<ListenSocket> Open(const std::string& address, int port);

    ListenSocket(ListenSocket&& other) noexcept;
    ListenSocket& operator=(ListenSocket&&) = delete;
    ListenSocket(const ListenSocket&) = delete;
    ListenSocket& operator=(const ListenSocket&) = delete;
    ~ListenSocket();

    int Port() const { return m_port; }
    // Hands the descriptor over to whoever closes it from now on.
    int Release();

private:
    ListenSocket(int fd, int port) : m_fd(fd), m_port(port) {}

    int m_fd = -1;
    int m_port = 0;
};
