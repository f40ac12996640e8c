#include "SecretFile.h"

#include "platform/SystemError.h"
#include "store/UniqueFd.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr std::size_t MOST_BYTES = 4096;

std::string ModeText(mode_t mode) {
    char text[8];
    std::snprintf(text, sizeof text, "%04o", static_cast<unsigned>(mode & 07777));
    return text;
}
} // namespace

std::optional<std::string> ReadSecretFile(const std::string& path, std::string& problem) {
    const UniqueFd file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY));
    struct stat status {};
    if (!file.IsOpen() || ::fstat(file.Get(), &status) != 0) {
        problem = SystemError("cannot read " + path, errno);
        return std::nullopt;
    }
    if (!S_ISREG(status.st_mode)) {
        problem = path + " is not a regular file";
        return std::nullopt;
    }
    if ((status.st_mode & (S_IRWXG | S_IRWXO)) != 0) {
        problem = path + " is open to other users (mode " + ModeText(status.st_mode) +
                  "); make it owner-only with chmod 600";
        return std::nullopt;
    }
    std::string bytes(MOST_BYTES, '\0');
    const ssize_t count = ::read(file.Get(), bytes.data(), bytes.size());
    if (count < 0) {
        problem = SystemError("cannot read " + path, errno);
        return std::nullopt;
    }
    bytes.resize(static_cast<std::size_t>(count));
    std::string line = bytes.substr(0, bytes.find('\n'));
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    if (line.empty()) {
        problem = path + " holds nothing on its first line";
        return std::nullopt;
    }
    return line;
}
