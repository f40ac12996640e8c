#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

// The outcome of checking received bytes as a reply frame: accepted, or the
// first rule that rejected them.
enum class ReplyCheck : std::uint8_t {
    Accepted,
    NoReply,
    NoSync,
    TooShort,
    NotForStation,
    WrongFunction,
    NotAcknowledged,
    BadTrailer,
    LengthPastEnd,
    BadChecksum,
    Collision, // a second answer to a broadcast came right behind a whole one
};

inline constexpr std::size_t REPLY_CHECK_COUNT = 11;

// Words for the operator: "bad checksum", "no reply", ...
const char* ReplyCheckText(ReplyCheck check);

// How often each rule rejected a reply on one port; written by the port's
// communication thread, read by anyone.
class ReplyRejectCounts {
public:
    void Count(ReplyCheck check) {
        m_counts[static_cast<std::size_t>(check)].fetch_add(1, std::memory_order_relaxed);
    }
    std::uint64_t Of(ReplyCheck check) const {
        return m_counts[static_cast<std::size_t>(check)].load(std::memory_order_relaxed);
    }
    // The rules that rejected anything, in rule order, with their counts.
    std::vector<std::pair<ReplyCheck, std::uint64_t>> NonZero() const;
    std::uint64_t Total() const;

private:
    std::array<std::atomic<std::uint64_t>, REPLY_CHECK_COUNT> m_counts{};
};
