#include "HistoryFile.h"

#include "DataFile.h"
#include "PositionalIo.h"

#include <cerrno>
#include <fcntl.h>
#include <mutex>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace {
std::mutex g_historyLock;

bool Fail(std::string* failure, const std::string& path, int error) {
    if (failure != nullptr) {
        *failure = DataFileProblem(path, error);
    }
    return false;
}

// The new file is written beside its final name and linked into place, so it
// never exists without its header, not even after a crash between creating
// and writing it. nullopt when the file already exists; otherwise whether it
// was created, with failure set when not.
std::optional<bool> CreateWithHeader(const std::string& path, std::string_view firstBytes,
                                     std::string* failure) {
    const std::string part = path + ".part";
    int error = 0;
    UniqueFd created = OpenDataFile(part, O_WRONLY | O_CREAT | O_TRUNC, error);
    if (!created.IsOpen()) {
        return Fail(failure, path, error);
    }
    error = WriteAll(created.Get(), firstBytes);
    const bool linked = error == 0 && ::link(part.c_str(), path.c_str()) == 0;
    if (error == 0 && !linked) {
        error = errno;
    }
    ::unlink(part.c_str());
    if (linked) {
        return true;
    }
    if (error == EEXIST) {
        return std::nullopt;
    }
    return Fail(failure, path, error);
}
} // namespace

bool AppendHistoryLine(const std::string& path, std::string_view header, std::string_view line,
                       std::string* failure) {
    std::lock_guard lock(g_historyLock);
    int error = 0;
    UniqueFd existing = OpenDataFile(path, O_WRONLY | O_APPEND, error);
    if (!existing.IsOpen()) {
        if (error != ENOENT) {
            return Fail(failure, path, error);
        }
        if (const auto created =
                CreateWithHeader(path, std::string(header) + std::string(line), failure)) {
            return *created;
        }
        existing = OpenDataFile(path, O_WRONLY | O_APPEND, error);
    }
    const off_t before = existing.IsOpen() ? FileSize(existing.Get()) : -1;
    if (before < 0) {
        return Fail(failure, path, existing.IsOpen() ? errno : error);
    }
    if (error = WriteAll(existing.Get(), line); error == 0) {
        return true;
    }
    // A torn line would glue itself to the next one written.
    CutBack(existing.Get(), before);
    return Fail(failure, path, error);
}
