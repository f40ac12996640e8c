#pragma once

#include <string>

// Holds a named lock for the life of the process, so that a second copy of
// the station can tell that one already runs.
class SingleInstance {
public:
    // The lock file "<name>.lock" in $XDG_RUNTIME_DIR (else /tmp).
    explicit SingleInstance(const std::string& name);
    // The lock file "<name>" in directory.
    SingleInstance(const std::string& directory, const std::string& name);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    bool Acquired() const { return m_fd >= 0; }
    // Not acquired because another holder has the lock, rather than because
    // the lock file could not be opened.
    bool HeldElsewhere() const { return m_bHeldElsewhere; }
    // Why the lock was not acquired, in words.
    const std::string& Problem() const { return m_problem; }
    const std::string& Path() const { return m_path; }

private:
    void Acquire();

    std::string m_path;
    int m_fd = -1;
    bool m_bHeldElsewhere = false;
    std::string m_problem;
};
