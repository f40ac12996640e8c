#include "MoveFileAside.h"

#include "platform/SystemError.h"
#include "platform/TimeText.h"

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <sys/stat.h>

namespace {
constexpr int MAX_SUFFIX = 1000;

bool Exists(const std::string& path) {
    struct stat status {};
    return ::lstat(path.c_str(), &status) == 0;
}
} // namespace

Outcome<std::string> MoveFileAside(const std::string& path) {
    const std::string base = path + ".bad-" + LocalTimeText(std::time(nullptr), "%Y%m%d-%H%M%S");
    std::string target = base;
    for (int suffix = 1; Exists(target); ++suffix) {
        if (suffix > MAX_SUFFIX) {
            return Outcome<std::string>::Failure(path + ": no free name to move it aside to");
        }
        target = base + "-" + std::to_string(suffix);
    }
    if (std::rename(path.c_str(), target.c_str()) != 0) {
        return Outcome<std::string>::Failure(SystemError("cannot move " + path + " aside", errno));
    }
    return target;
}
