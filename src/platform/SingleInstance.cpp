#include "SingleInstance.h"

#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {
std::string RuntimeDirectory() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    return runtime != nullptr && *runtime != '\0' ? runtime : "/tmp";
}
} // namespace

// flock, not a pid file: the kernel drops the lock when the process ends,
// however it ends, so a crash never leaves a stale guard.
SingleInstance::SingleInstance(const std::string& name)
    : m_path(RuntimeDirectory() + "/" + name + ".lock") {
    const int fd = open(m_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        return;
    }
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        close(fd);
        return;
    }
    m_fd = fd;
}

SingleInstance::~SingleInstance() {
    if (m_fd >= 0) {
        close(m_fd);
    }
}
