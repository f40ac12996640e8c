#include "FaultEpisode.h"

namespace sim {

bool FaultEpisode::IsActive(std::int64_t now) const {
    if (every <= 0 || now < anchor) {
        return false;
    }
    return (now - anchor) % every < lasting;
}

} // namespace sim
