#include "DataFile.h"

#include "platform/DataDirectory.h"
#include "platform/SystemError.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>

namespace {
constexpr mode_t FILE_MODE = 0644;

int OpenNoFollow(const std::string& path, int flags) {
    // O_NONBLOCK: opening a FIFO must not wait for a reader.
    return ::open(path.c_str(), flags | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, FILE_MODE);
}

bool IsRegularFile(int fd) {
    struct stat status {};
    return ::fstat(fd, &status) == 0 && S_ISREG(status.st_mode);
}

// What lies in the file's place, when that and not the call is the problem.
int KindInTheWay(const std::string& path) {
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0) {
        return 0;
    }
    if (S_ISLNK(status.st_mode)) {
        return ELOOP;
    }
    return S_ISREG(status.st_mode) ? 0 : NOT_A_REGULAR_FILE;
}
} // namespace

UniqueFd OpenDataFile(const std::string& path, int flags, int& error) {
    int fd = OpenNoFollow(path, flags);
    if (fd < 0 && errno == ENOENT && (flags & O_CREAT) != 0 && CreateDataDirectories()) {
        fd = OpenNoFollow(path, flags);
    }
    if (fd < 0) {
        error = errno;
        if (const int kind = KindInTheWay(path); kind != 0 && error != EEXIST) {
            error = kind;
        }
        return {};
    }
    UniqueFd file(fd);
    if (!IsRegularFile(fd)) {
        error = NOT_A_REGULAR_FILE;
        return {};
    }
    error = 0;
    return file;
}

std::string DataFileProblem(const std::string& path, int error) {
    switch (error) {
    case ELOOP: return path + " is a symbolic link; the station does not write through it";
    case NOT_A_REGULAR_FILE: return path + " is not a regular file";
    default: return SystemError(path, error);
    }
}
