#include "FirstLine.h"

#include "SystemError.h"

#include <cerrno>
#include <fstream>
#include <iterator>
#include <sys/stat.h>

Outcome<std::string> ReadFirstLine(const std::string& path) {
    errno = 0;
    std::ifstream file(path);
    if (!file) {
        return Outcome<std::string>::Failure(SystemError("cannot read " + path, errno));
    }
    std::string line;
    std::getline(file, line);
    if (file.bad()) {
        return Outcome<std::string>::Failure(SystemError("cannot read " + path, errno));
    }
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    return line;
}

namespace {
// Empty when only the owner and group may read or write the file.
std::string ExposedSecret(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        return SystemError("cannot read " + path, errno);
    }
    if ((status.st_mode & (S_IROTH | S_IWOTH)) != 0) {
        return path +
               " may be read or changed by every user of this machine; allow its owner "
               "(and group) only: chmod o= " +
               path;
    }
    return {};
}
} // namespace

Outcome<std::string> ReadSecretLine(const std::string& path) {
    const std::string exposed = ExposedSecret(path);
    if (!exposed.empty()) {
        return Outcome<std::string>::Failure(exposed);
    }
    return ReadFirstLine(path);
}

Outcome<std::string> ReadSecretFile(const std::string& path) {
    const std::string exposed = ExposedSecret(path);
    if (!exposed.empty()) {
        return Outcome<std::string>::Failure(exposed);
    }
    errno = 0;
    std::ifstream file(path, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (!file && !file.eof()) {
        return Outcome<std::string>::Failure(SystemError("cannot read " + path, errno));
    }
    return text;
}
