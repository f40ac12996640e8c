#include "SmallTmpfs.h"

#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

SmallTmpfs::SmallTmpfs(const std::string& path, std::size_t bytes) : m_path(path) {
    const std::string options = "size=" + std::to_string(bytes) + ",mode=0755";
    m_bMounted = ::mkdir(path.c_str(), 0755) == 0 &&
                 ::mount("tmpfs", path.c_str(), "tmpfs", 0, options.c_str()) == 0;
}

SmallTmpfs::~SmallTmpfs() {
    if (m_bMounted) {
        ::umount2(m_path.c_str(), MNT_DETACH);
    }
    ::rmdir(m_path.c_str());
}

void SmallTmpfs::FillWith(const std::string& path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    const std::string block(512, 'x');
    while (fd >= 0 && ::write(fd, block.data(), block.size()) > 0) {
    }
    ::close(fd);
}
