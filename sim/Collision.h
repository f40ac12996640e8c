#pragma once

#include <cstdint>
#include <vector>

namespace sim {

// What the station hears when several inverters answer at once: their frames
// interleaved byte by byte. The mix never passes the reply check, because its
// function byte comes from the sync or source bytes of one of the frames.
std::vector<std::uint8_t> CollideFrames(const std::vector<std::vector<std::uint8_t>>& frames);

} // namespace sim
