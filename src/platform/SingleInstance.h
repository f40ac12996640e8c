#pragma once

#include <string>

// Holds a named lock for the life of the process, so that a second copy of
// the station can tell that one already runs.
class SingleInstance {
public:
    // The lock file "<name>.lock" in $XDG_RUNTIME_DIR (else /tmp).
    explicit SingleInstance(const std::string& name);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    bool Acquired() const { return m_fd >= 0; }
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
    int m_fd = -1;
};
