#include "HistoryFile.h"

#include "UniqueFd.h"

#include <cerrno>
#include <fcntl.h>
#include <mutex>
#include <unistd.h>

namespace {
constexpr mode_t FILE_MODE = 0644;

std::mutex g_historyLock;

bool WriteOnce(int fd, const std::string& text) {
    return ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
}
} // namespace

bool AppendHistoryLine(const std::string& path, std::string_view header, std::string_view line) {
    std::lock_guard lock(g_historyLock);
    UniqueFd created(
        ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_EXCL | O_CLOEXEC, FILE_MODE));
    if (created.IsOpen()) {
        if (WriteOnce(created.Get(), std::string(header) + std::string(line))) {
            return true;
        }
        // Gone again, so that the next line creates it with its header.
        ::unlink(path.c_str());
        return false;
    }
    if (errno != EEXIST) {
        return false;
    }
    UniqueFd existing(::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC));
    return existing.IsOpen() && WriteOnce(existing.Get(), std::string(line));
}
