#pragma once

#include <cstddef>
#include <cstdint>

// A channel's deliveries since the station started, and what waits for it.
struct ChannelCounts {
    std::uint64_t sent = 0;
    std::uint64_t failed = 0; // attempts that failed
    std::size_t queued = 0;
};
