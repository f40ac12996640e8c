#pragma once

#include "FaultCondition.h"

#include <cstdint>

namespace sim {

// A fault that keeps coming back: active for the first `lasting` seconds of
// every `every` seconds, counted from the anchor.
struct FaultEpisode {
    int every = 0;
    int lasting = 0;
    std::int64_t anchor = 0;
    FaultCondition condition;

    bool IsActive(std::int64_t now) const;
};

} // namespace sim
