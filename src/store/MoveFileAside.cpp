#include "MoveFileAside.h"

#include <cstdio>
#include <ctime>
#include <sys/stat.h>

namespace {
constexpr int MAX_SUFFIX = 1000;

std::string TimeStamp() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    char text[32] = "";
    if (localtime_r(&now, &local) != nullptr) {
        std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local);
    }
    return text;
}

bool Exists(const std::string& path) {
    struct stat status {};
    return ::lstat(path.c_str(), &status) == 0;
}
} // namespace

bool MoveFileAside(const std::string& path) {
    const std::string base = path + ".bad-" + TimeStamp();
    std::string target = base;
    for (int suffix = 1; Exists(target); ++suffix) {
        if (suffix > MAX_SUFFIX) {
            return false;
        }
        target = base + "-" + std::to_string(suffix);
    }
    return std::rename(path.c_str(), target.c_str()) == 0;
}
