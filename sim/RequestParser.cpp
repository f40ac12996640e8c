#include "RequestParser.h"

#include "comm/Frame.h"

#include <algorithm>

namespace sim {

namespace {
// Enough for any frame; what lies further back can only be noise.
constexpr std::size_t MAX_BUFFERED = 2 * FRAME_BUFFER_SIZE;
} // namespace

std::vector<BusMessage> RequestParser::Feed(const std::uint8_t* bytes, std::size_t count) {
    m_buffer.insert(m_buffer.end(), bytes, bytes + count);
    std::vector<BusMessage> requests;
    BusMessage message;
    bool fromStation = false;
    while (TakeFrame(message, fromStation)) {
        if (fromStation) {
            requests.push_back(message);
        }
    }
    DropNoise();
    return requests;
}

bool RequestParser::IsSyncAt(std::size_t position) const {
    return position + 1 < m_buffer.size() && m_buffer[position] == FRAME_SYNC &&
           m_buffer[position + 1] == FRAME_SYNC;
}

RequestParser::Candidate RequestParser::Examine(std::size_t start) const {
    if (m_buffer.size() - start < FRAME_HEADER_SIZE) {
        return Candidate::Incomplete;
    }
    const std::size_t length = m_buffer[start + FRAME_HEADER_SIZE - 1];
    const std::size_t frameSize = length + FRAME_OVERHEAD;
    if (m_buffer.size() - start < frameSize) {
        return Candidate::Incomplete;
    }
    const std::uint8_t* frame = m_buffer.data() + start;
    const std::size_t sumEnd = FRAME_HEADER_SIZE + length;
    const std::uint16_t checksum =
        static_cast<std::uint16_t>(frame[sumEnd] << 8 | frame[sumEnd + 1]);
    const bool trailerOk = frame[sumEnd + 2] == FRAME_END_LF && frame[sumEnd + 3] == FRAME_END_CR;
    return trailerOk && FrameChecksum(frame, sumEnd) == checksum ? Candidate::Valid
                                                                 : Candidate::Invalid;
}

bool RequestParser::TakeFrame(BusMessage& out, bool& fromStation) {
    for (std::size_t start = 0; start < m_buffer.size(); ++start) {
        if (!IsSyncAt(start) || Examine(start) != Candidate::Valid) {
            continue;
        }
        const std::uint8_t* frame = m_buffer.data() + start;
        out.Clear();
        CopyReplyMessage(frame, out);
        fromStation = out.Source() == MONITOR_ADDRESS;
        m_buffer.erase(m_buffer.begin(),
                       m_buffer.begin() +
                           static_cast<std::ptrdiff_t>(start + FRAME_OVERHEAD + out.Length()));
        return true;
    }
    return false;
}

void RequestParser::DropNoise() {
    std::size_t keep = m_buffer.size();
    for (std::size_t start = 0; start < m_buffer.size(); ++start) {
        if (IsSyncAt(start) && Examine(start) == Candidate::Incomplete) {
            keep = start;
            break;
        }
    }
    // A lone sync byte at the end may begin the next frame.
    if (keep == m_buffer.size() && !m_buffer.empty() && m_buffer.back() == FRAME_SYNC) {
        keep = m_buffer.size() - 1;
    }
    m_buffer.erase(m_buffer.begin(), m_buffer.begin() + static_cast<std::ptrdiff_t>(keep));
    if (m_buffer.size() > MAX_BUFFERED) {
        m_buffer.erase(m_buffer.begin(),
                       m_buffer.end() - static_cast<std::ptrdiff_t>(MAX_BUFFERED));
    }
}

} // namespace sim
