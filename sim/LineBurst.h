#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace sim {

// The bytes the inverters put on the line, grouped by the byte time each
// fills. A lone answer fills one byte time per byte. Answers given at once
// overlap: their k-th bytes share the k-th byte time, and the station hears
// them interleaved. That mix never passes the reply check, because its
// function byte comes from the sync or source bytes of one of the frames.
class LineBurst {
public:
    LineBurst() = default;
    explicit LineBurst(const std::vector<std::vector<std::uint8_t>>& answers);

    // Follows this burst on the line once it is over.
    void Append(const LineBurst& next);

    bool Empty() const { return m_bytes.empty(); }
    // In the order the station hears them.
    const std::vector<std::uint8_t>& Bytes() const { return m_bytes; }
    std::size_t ByteTimes() const { return m_heardBy.size(); }
    // How many bytes the station has heard at the end of a byte time.
    std::size_t HeardBy(std::size_t byteTime) const { return m_heardBy[byteTime]; }

private:
    std::vector<std::uint8_t> m_bytes;
    std::vector<std::size_t> m_heardBy;
};

} // namespace sim
