#include "ControlChannel.h"

#include "ReadyEvents.h"

#include <cerrno>
#include <cstring>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace sim {

namespace {
constexpr std::size_t MAX_LINE = 4096;

void SendAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t count = send(fd, text.data() + done, text.size() - done, MSG_NOSIGNAL);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            return;
        }
        done += static_cast<std::size_t>(count);
    }
}
} // namespace

ControlChannel::~ControlChannel() {
    Close();
}

bool ControlChannel::Open(const std::string& path, std::string& error) {
    sockaddr_un address{};
    if (path.size() >= sizeof address.sun_path) {
        error = "control path too long: " + path;
        return false;
    }
    struct stat existing {};
    if (lstat(path.c_str(), &existing) == 0) {
        if (!S_ISSOCK(existing.st_mode)) {
            error = path + " exists and is not a socket";
            return false;
        }
        unlink(path.c_str());
    }
    m_listener = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    address.sun_family = AF_UNIX;
    std::strcpy(address.sun_path, path.c_str());
    if (m_listener < 0 ||
        bind(m_listener, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        listen(m_listener, 8) != 0) {
        error = "control socket " + path + ": " + std::strerror(errno);
        Close();
        return false;
    }
    m_path = path;
    return true;
}

void ControlChannel::Close() {
    for (const Client& client : m_clients) {
        close(client.fd);
    }
    m_clients.clear();
    if (m_listener >= 0) {
        close(m_listener);
        m_listener = -1;
    }
    if (!m_path.empty()) {
        unlink(m_path.c_str());
        m_path.clear();
    }
}

void ControlChannel::AddPollFds(std::vector<pollfd>& fds) const {
    if (m_listener >= 0) {
        fds.push_back({m_listener, POLLIN, 0});
    }
    for (const Client& client : m_clients) {
        fds.push_back({client.fd, POLLIN, 0});
    }
}

void ControlChannel::Service(const std::vector<pollfd>& fds, const Handler& handler) {
    for (auto client = m_clients.begin(); client != m_clients.end();) {
        if (ReadyEvents(fds, client->fd) == 0 || Serve(*client, handler)) {
            ++client;
            continue;
        }
        close(client->fd);
        client = m_clients.erase(client);
    }
    if (m_listener >= 0 && (ReadyEvents(fds, m_listener) & POLLIN) != 0) {
        Accept();
    }
}

void ControlChannel::Accept() {
    const int fd = accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd >= 0) {
        m_clients.push_back({fd, {}});
    }
}

bool ControlChannel::Serve(Client& client, const Handler& handler) {
    char chunk[1024];
    const ssize_t count = recv(client.fd, chunk, sizeof chunk, 0);
    if (count <= 0) {
        return count < 0 && errno == EINTR;
    }
    client.pending.append(chunk, static_cast<std::size_t>(count));
    for (std::size_t end; (end = client.pending.find('\n')) != std::string::npos;) {
        std::string line = client.pending.substr(0, end);
        client.pending.erase(0, end + 1);
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (!line.empty()) {
            SendAll(client.fd, handler(line) + "\n");
        }
    }
    return client.pending.size() <= MAX_LINE;
}

} // namespace sim
