#include "MakeDirectories.h"

#include "SystemError.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace {
bool Fail(std::string* reason, const std::string& path, int error) {
    if (reason != nullptr) {
        *reason = SystemError(path, error);
    }
    return false;
}

bool MakeOne(const std::string& path, mode_t mode, std::string* reason) {
    if (::mkdir(path.c_str(), mode) == 0) {
        // The umask only takes bits away, so the folder was never more open
        // than asked while this runs.
        return ::chmod(path.c_str(), mode) == 0 || Fail(reason, path, errno);
    }
    if (errno != EEXIST) {
        return Fail(reason, path, errno);
    }
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        return Fail(reason, path, errno);
    }
    return S_ISDIR(status.st_mode) || Fail(reason, path, ENOTDIR);
}
} // namespace

bool MakeDirectories(const std::string& path, mode_t mode, std::string* reason) {
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos;
         slash = path.find('/', slash + 1)) {
        if (path[slash - 1] != '/' && !MakeOne(path.substr(0, slash), mode, reason)) {
            return false;
        }
    }
    return path.empty() || path.back() == '/' || MakeOne(path, mode, reason);
}
