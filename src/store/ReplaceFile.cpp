#include "ReplaceFile.h"

#include "PositionalIo.h"
#include "UniqueFd.h"
#include "platform/SystemError.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr mode_t NEW_FILE_MODE = 0644;

std::atomic<unsigned> g_sequence{0};

ReplaceOutcome Fail(ReplaceOutcome outcome, std::string* reason, const std::string& path,
                    int error) {
    if (reason != nullptr) {
        *reason = SystemError(path, error);
    }
    return outcome;
}

// The file a link names, so that replacing it keeps the link.
std::string Resolved(const std::string& path) {
    char resolved[PATH_MAX];
    return ::realpath(path.c_str(), resolved) != nullptr ? std::string(resolved) : path;
}

ReplaceOutcome WriteInPlace(const std::string& path, std::string_view bytes, std::string* reason) {
    UniqueFd file(::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC));
    if (!file.IsOpen()) {
        return Fail(ReplaceOutcome::OPEN_FAILED, reason, path, errno);
    }
    if (const int error = WriteAll(file.Get(), bytes); error != 0) {
        return Fail(ReplaceOutcome::WRITE_FAILED, reason, path, error);
    }
    return ReplaceOutcome::WRITTEN;
}

// 0, or the errno of the first step that failed; the file is closed either
// way. A replaced file keeps its permissions.
int WriteAndClose(UniqueFd file, std::string_view bytes, const struct stat* replaced) {
    if (const int error = WriteAll(file.Get(), bytes); error != 0) {
        return error;
    }
    if (replaced != nullptr && ::fchmod(file.Get(), replaced->st_mode & 07777) != 0) {
        return errno;
    }
    if (::fsync(file.Get()) != 0) {
        return errno;
    }
    return ::close(file.Release()) == 0 ? 0 : errno;
}
} // namespace

ReplaceOutcome ReplaceFile(const std::string& path, std::string_view bytes, std::string* reason) {
    const std::string target = Resolved(path);
    struct stat status {};
    const bool exists = ::stat(target.c_str(), &status) == 0;
    if (exists && !S_ISREG(status.st_mode)) {
        return WriteInPlace(target, bytes, reason);
    }
    const std::string temporary =
        target + ".new-" + std::to_string(::getpid()) + "-" + std::to_string(g_sequence++);
    UniqueFd file(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                         NEW_FILE_MODE));
    if (!file.IsOpen()) {
        return Fail(ReplaceOutcome::OPEN_FAILED, reason, path, errno);
    }
    int error = WriteAndClose(std::move(file), bytes, exists ? &status : nullptr);
    if (error == 0 && ::rename(temporary.c_str(), target.c_str()) != 0) {
        error = errno;
    }
    if (error != 0) {
        ::unlink(temporary.c_str());
        return Fail(ReplaceOutcome::WRITE_FAILED, reason, path, error);
    }
    return ReplaceOutcome::WRITTEN;
}
