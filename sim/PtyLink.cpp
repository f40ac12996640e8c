#include "PtyLink.h"

#include "CharacterTime.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace sim {

namespace {
std::string SystemError(const std::string& what) {
    return what + ": " + std::strerror(errno);
}

void CloseFd(int& fd) {
    if (fd >= 0) {
        close(fd);
        fd = -1;
    }
}
} // namespace

PtyLink::~PtyLink() {
    Close();
}

bool PtyLink::Open(const std::string& linkPath, std::string& error) {
    if (!OpenPty(error) || !LinkSlave(linkPath, error)) {
        Close();
        return false;
    }
    return true;
}

bool PtyLink::OpenPty(std::string& error) {
    m_master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_master < 0) {
        error = SystemError("posix_openpt");
        return false;
    }
    char name[128];
    if (grantpt(m_master) != 0 || unlockpt(m_master) != 0 ||
        ptsname_r(m_master, name, sizeof name) != 0) {
        error = SystemError("pty setup");
        return false;
    }
    m_slavePath = name;
    m_slaveKeeper = open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_slaveKeeper < 0) {
        error = SystemError("open " + m_slavePath);
        return false;
    }
    termios line{};
    tcgetattr(m_slaveKeeper, &line);
    cfmakeraw(&line);
    tcsetattr(m_slaveKeeper, TCSANOW, &line);
    m_closeWatch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (m_closeWatch < 0 || inotify_add_watch(m_closeWatch, name, IN_CLOSE) < 0) {
        error = SystemError("inotify on " + m_slavePath);
        return false;
    }
    return true;
}

bool PtyLink::LinkSlave(const std::string& linkPath, std::string& error) {
    struct stat existing {};
    if (lstat(linkPath.c_str(), &existing) == 0 && !S_ISLNK(existing.st_mode)) {
        error = linkPath + " exists and is not a symlink";
        return false;
    }
    // Link under a temporary name and rename over, so the entry never
    // disappears for a station that looks at the same moment.
    const std::string temporary = linkPath + ".new" + std::to_string(getpid());
    unlink(temporary.c_str());
    if (symlink(m_slavePath.c_str(), temporary.c_str()) != 0) {
        error = SystemError("symlink " + temporary);
        return false;
    }
    if (rename(temporary.c_str(), linkPath.c_str()) != 0) {
        error = SystemError("rename to " + linkPath);
        unlink(temporary.c_str());
        return false;
    }
    m_linkPath = linkPath;
    return true;
}

void PtyLink::Close() {
    if (!m_linkPath.empty()) {
        char target[256];
        const ssize_t length = readlink(m_linkPath.c_str(), target, sizeof target - 1);
        if (length >= 0 && m_slavePath == std::string(target, static_cast<std::size_t>(length))) {
            unlink(m_linkPath.c_str());
        }
        m_linkPath.clear();
    }
    CloseFd(m_closeWatch);
    CloseFd(m_slaveKeeper);
    CloseFd(m_master);
    m_slavePath.clear();
}

std::vector<std::uint8_t> PtyLink::ReadAvailable() {
    std::vector<std::uint8_t> bytes;
    std::uint8_t chunk[512];
    for (;;) {
        const ssize_t count = read(m_master, chunk, sizeof chunk);
        if (count <= 0) {
            return bytes;
        }
        bytes.insert(bytes.end(), chunk, chunk + count);
    }
}

bool PtyLink::Write(const std::vector<std::uint8_t>& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t count = write(m_master, bytes.data() + done, bytes.size() - done);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        // A full input queue means nobody reads the port: the reply is lost,
        // as it would be on a wire.
        if (count <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(count);
    }
    return true;
}

std::chrono::nanoseconds PtyLink::CharacterTime() const {
    termios line{};
    if (tcgetattr(m_slaveKeeper, &line) != 0) {
        line.c_cflag = CS8;
    }
    return sim::CharacterTime(line);
}

void PtyLink::OnSlaveClosed() {
    char events[4096];
    while (read(m_closeWatch, events, sizeof events) > 0) {
    }
    ioctl(m_slaveKeeper, TIOCNXCL);
}

} // namespace sim
