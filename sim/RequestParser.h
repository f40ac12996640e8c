#pragma once

#include "comm/BusMessage.h"

#include <cstdint>
#include <vector>

namespace sim {

// Picks the station's request frames out of the byte stream of a bus. Noise,
// frames with a wrong checksum or trailer and frames from other senders are
// dropped; a frame cut short is kept until the rest arrives, unless a complete
// frame behind it shows that it was noise.
class RequestParser {
public:
    // Returns the requests the new bytes complete, oldest first.
    std::vector<BusMessage> Feed(const std::uint8_t* bytes, std::size_t count);

private:
    enum class Candidate { Valid, Invalid, Incomplete };

    Candidate Examine(std::size_t start) const;
    bool IsSyncAt(std::size_t position) const;
    // Moves the first valid frame into out; false when there is none yet.
    bool TakeFrame(BusMessage& out, bool& fromStation);
    void DropNoise();

    std::vector<std::uint8_t> m_buffer;
};

} // namespace sim
