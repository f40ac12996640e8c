#pragma once

#include <functional>
#include <poll.h>
#include <string>
#include <vector>

namespace sim {

// A UNIX stream socket that takes text commands, one per line, and answers
// each with one line.
class ControlChannel {
public:
    using Handler = std::function<std::string(const std::string& line)>;

    ControlChannel() = default;
    ~ControlChannel();
    ControlChannel(const ControlChannel&) = delete;
    ControlChannel& operator=(const ControlChannel&) = delete;

    // Replaces a stale socket at the path; refuses any other kind of file.
    bool Open(const std::string& path, std::string& error);
    void Close();
    const std::string& Path() const { return m_path; }

    // The descriptors to wait on, appended to fds.
    void AddPollFds(std::vector<pollfd>& fds) const;
    // Accepts, reads and answers whatever the ready descriptors in fds hold.
    void Service(const std::vector<pollfd>& fds, const Handler& handler);

private:
    struct Client {
        int fd;
        std::string pending;
    };

    void Accept();
    // False when the client has gone.
    bool Serve(Client& client, const Handler& handler);

    int m_listener = -1;
    std::string m_path;
    std::vector<Client> m_clients;
};

} // namespace sim
