#pragma once

#include "store/UniqueFd.h"

#include <string>

// The right to write the summary: an exclusive lock on a file beside it, held
// as long as the object lives, so one station or one rebuild writes at a time.
class SummaryLock {
public:
    // False, with the reason, when another process holds the lock.
    [[nodiscard]] bool Acquire(std::string* problem);
    bool Held() const { return m_fd.IsOpen(); }

private:
    UniqueFd m_fd;
};
