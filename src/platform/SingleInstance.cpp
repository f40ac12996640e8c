#include "SingleInstance.h"

#include "SystemError.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {
std::string RuntimeDirectory() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    return runtime != nullptr && *runtime != '\0' ? runtime : "/tmp";
}
} // namespace

SingleInstance::SingleInstance(const std::string& name)
    : m_path(RuntimeDirectory() + "/" + name + ".lock") {
    Acquire();
}

SingleInstance::SingleInstance(const std::string& directory, const std::string& name)
    : m_path(directory + "/" + name) {
    Acquire();
}

SingleInstance::~SingleInstance() {
    if (m_fd >= 0) {
        close(m_fd);
    }
}

// flock, not a pid file: the kernel drops the lock when the process ends,
// however it ends, so a crash never leaves a stale guard.
void SingleInstance::Acquire() {
    const int fd = open(m_path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
        m_problem = SystemError(m_path, errno);
        return;
    }
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        m_bHeldElsewhere = errno == EWOULDBLOCK;
        m_problem = SystemError(m_path, errno);
        close(fd);
        return;
    }
    m_fd = fd;
}
