#include "ReplyCheck.h"

const char* ReplyCheckText(ReplyCheck check) {
    switch (check) {
    case ReplyCheck::Accepted: return "accepted";
    case ReplyCheck::NoReply: return "no reply";
    case ReplyCheck::NoSync: return "no sync bytes";
    case ReplyCheck::TooShort: return "too short";
    case ReplyCheck::NotForStation: return "not for the station";
    case ReplyCheck::WrongFunction: return "wrong function";
    case ReplyCheck::NotAcknowledged: return "not acknowledged";
    case ReplyCheck::BadTrailer: return "bad trailer";
    case ReplyCheck::LengthPastEnd: return "length past end";
    case ReplyCheck::BadChecksum: return "bad checksum";
    case ReplyCheck::Collision: return "collision";
    }
    return "unknown";
}

std::vector<std::pair<ReplyCheck, std::uint64_t>> ReplyRejectCounts::NonZero() const {
    std::vector<std::pair<ReplyCheck, std::uint64_t>> counts;
    for (std::size_t rule = 0; rule < REPLY_CHECK_COUNT; ++rule) {
        const auto check = static_cast<ReplyCheck>(rule);
        if (const std::uint64_t count = Of(check); count > 0) {
            counts.emplace_back(check, count);
        }
    }
    return counts;
}

std::uint64_t ReplyRejectCounts::Total() const {
    std::uint64_t total = 0;
    for (const auto& count : m_counts) {
        total += count.load(std::memory_order_relaxed);
    }
    return total;
}
