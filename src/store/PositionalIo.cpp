#include "PositionalIo.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

bool ReadAt(int fd, void* buffer, std::size_t size, off_t offset) {
    auto* bytes = static_cast<char*>(buffer);
    while (size > 0) {
        const ssize_t count = ::pread(fd, bytes, size, offset);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            return false;
        }
        bytes += count;
        size -= static_cast<std::size_t>(count);
        offset += count;
    }
    return true;
}

bool WriteAt(int fd, const void* buffer, std::size_t size, off_t offset) {
    const auto* bytes = static_cast<const char*>(buffer);
    while (size > 0) {
        const ssize_t count = ::pwrite(fd, bytes, size, offset);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            return false;
        }
        bytes += count;
        size -= static_cast<std::size_t>(count);
        offset += count;
    }
    return true;
}

int WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t count = ::write(fd, bytes.data(), bytes.size());
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            return count < 0 ? errno : ENOSPC;
        }
        bytes.remove_prefix(static_cast<std::size_t>(count));
    }
    return 0;
}

off_t FileSize(int fd) {
    struct stat status {};
    return ::fstat(fd, &status) == 0 ? status.st_size : -1;
}

void CutBack(int fd, off_t size) {
    [[maybe_unused]] const int ignored = ::ftruncate(fd, size);
}
