#include "HistoryFile.h"

#include "DataFile.h"
#include "PositionalIo.h"

#include <cerrno>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

namespace {
std::mutex g_historyLock;

off_t FileSize(int fd) {
    struct stat status {};
    return ::fstat(fd, &status) == 0 ? status.st_size : -1;
}

bool Fail(std::string* failure, const std::string& path, int error) {
    if (failure != nullptr) {
        *failure = DataFileProblem(path, error);
    }
    return false;
}
} // namespace

bool AppendHistoryLine(const std::string& path, std::string_view header, std::string_view line,
                       std::string* failure) {
    std::lock_guard lock(g_historyLock);
    int error = 0;
    UniqueFd created = OpenDataFile(path, O_WRONLY | O_APPEND | O_CREAT | O_EXCL, error);
    if (created.IsOpen()) {
        if (error = WriteAll(created.Get(), std::string(header) + std::string(line)); error == 0) {
            return true;
        }
        // Gone again, so that the next line creates it with its header.
        ::unlink(path.c_str());
        return Fail(failure, path, error);
    }
    if (error != EEXIST) {
        return Fail(failure, path, error);
    }
    UniqueFd existing = OpenDataFile(path, O_WRONLY | O_APPEND, error);
    const off_t before = existing.IsOpen() ? FileSize(existing.Get()) : -1;
    if (before < 0) {
        return Fail(failure, path, existing.IsOpen() ? errno : error);
    }
    if (error = WriteAll(existing.Get(), line); error == 0) {
        return true;
    }
    // A torn line would glue itself to the next one written.
    static_cast<void>(::ftruncate(existing.Get(), before));
    return Fail(failure, path, error);
}
