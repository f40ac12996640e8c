#include "SimControl.h"

#include <cstdio>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

std::string SimControl(const std::string& socketPath, const std::string& command) {
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", socketPath.c_str());
    std::string reply;
    if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
        const std::string line = command + "\n";
        (void)!write(fd, line.data(), line.size());
        char c = 0;
        while (read(fd, &c, 1) == 1 && c != '\n') {
            reply += c;
        }
    }
    close(fd);
    return reply;
}
