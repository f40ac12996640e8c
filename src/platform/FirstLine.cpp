#include "FirstLine.h"

#include "SystemError.h"

#include <cerrno>
#include <fstream>
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

Outcome<std::string> ReadSecretLine(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        return Outcome<std::string>::Failure(SystemError("cannot read " + path, errno));
    }
    if ((status.st_mode & (S_IROTH | S_IWOTH)) != 0) {
        return Outcome<std::string>::Failure(
            path +
            " may be read or changed by every user of this machine; allow its owner "
            "(and group) only: chmod o= " +
            path);
    }
    return ReadFirstLine(path);
}
