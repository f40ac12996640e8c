#include "SummaryLock.h"

#include "SummarySchema.h"
#include "platform/SystemError.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>

namespace {
constexpr mode_t LOCK_FILE_MODE = 0644;
} // namespace

bool SummaryLock::Acquire(std::string* problem) {
    const std::string path = SummaryPath() + ".lock";
    UniqueFd fd(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, LOCK_FILE_MODE));
    if (!fd.IsOpen()) {
        *problem = SystemError("cannot open " + path, errno);
        return false;
    }
    if (::flock(fd.Get(), LOCK_EX | LOCK_NB) != 0) {
        *problem = errno == EWOULDBLOCK ? "the history summary is being written by another process"
                                        : SystemError("cannot lock " + path, errno);
        return false;
    }
    m_fd = std::move(fd);
    return true;
}
