#include "Collision.h"

namespace sim {

std::vector<std::uint8_t> CollideFrames(const std::vector<std::vector<std::uint8_t>>& frames) {
    std::vector<std::uint8_t> mixed;
    for (std::size_t offset = 0;; ++offset) {
        bool any = false;
        for (const auto& frame : frames) {
            if (offset < frame.size()) {
                mixed.push_back(frame[offset]);
                any = true;
            }
        }
        if (!any) {
            return mixed;
        }
    }
}

} // namespace sim
