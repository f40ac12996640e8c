#pragma once

#include "SimTestSupport.h"

#include <string>

namespace simtest {

// A fresh directory under the test's temporary area.

// Opens a port as the station does: raw, exclusive, locked.
int OpenStationPort(const std::string& path);
// Writes a frame and collects what comes back until the line stays quiet.
Bytes Exchange(int fd, const Bytes& frame, int firstMs = 300, int quietMs = 50);

// A connection to the control socket.
class ControlClient {
public:
    explicit ControlClient(const std::string& path);
    ~ControlClient();
    ControlClient(const ControlClient&) = delete;
    ControlClient& operator=(const ControlClient&) = delete;

    std::string Send(const std::string& line);

private:
    int m_fd;
};

} // namespace simtest
