#pragma once

#include <algorithm>
#include <poll.h>
#include <vector>

namespace sim {

// The events poll reported for a descriptor, 0 when it was not polled.
inline short ReadyEvents(const std::vector<pollfd>& fds, int fd) {
    const auto found =
        std::find_if(fds.begin(), fds.end(), [fd](const pollfd& entry) { return entry.fd == fd; });
    return found == fds.end() ? 0 : found->revents;
}

} // namespace sim
