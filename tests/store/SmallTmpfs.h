#pragma once

#include <cstddef>
#include <string>

// A tmpfs of a few pages mounted for one test, so that a full disk is real.
// Mounting needs privileges; a test skips when Mounted() is false.
class SmallTmpfs {
public:
    SmallTmpfs(const std::string& path, std::size_t bytes);
    ~SmallTmpfs();
    SmallTmpfs(const SmallTmpfs&) = delete;
    SmallTmpfs& operator=(const SmallTmpfs&) = delete;

    bool Mounted() const { return m_bMounted; }
    const std::string& Path() const { return m_path; }
    // Writes path until the file system is full.
    static void FillWith(const std::string& path);

private:
    std::string m_path;
    bool m_bMounted = false;
};
