#include "CommFixture.h"
#include "comm/Transaction.h"

namespace {

using Burst = ScriptedWire::Burst;
constexpr std::int64_t DEADLINE_MS = MAX_REPLY_BYTES + 100;
constexpr std::int64_t TURNAROUND_MS = 5;

// Bytes as the wire delivers them: one a millisecond from startMs on.
std::vector<Burst> Paced(const Bytes& bytes, std::int64_t startMs) {
    std::vector<Burst> bursts;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bursts.push_back({startMs + static_cast<std::int64_t>(i), {bytes[i]}});
    }
    return bursts;
}

std::vector<Burst> Joined(std::vector<Burst> first, const std::vector<Burst>& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

// A runtime-data reply whose data holds LF CR where a shorter frame would
// end.
const Bytes POLL_REPLY = ReplyFrame(2, CTRL_READ, FN_READ_RUNTIME_DATA, {0x0A, 0x0D, 0x00, 0x64});
const Bytes OFFLINE_REPLY =
    ReplyFrame(0, CTRL_REGISTER, FN_OFFLINE_QUERY, Bytes(SERIAL_NO_LENGTH, 'S'), 0);

// When the last of the paced bytes arrives.
std::int64_t EndOf(const Bytes& bytes, std::int64_t startMs) {
    return startMs + static_cast<std::int64_t>(bytes.size()) - 1;
}

class FastRepliesTest : public CommFixture {
protected:
    void SetUp() override {
        CommFixture::SetUp();
        g_bFastReplies = true;
        group.m_pSerial = std::make_unique<ScriptedPort>(wire, clock);
        group.m_pSerial->Open();
    }

    struct Exchanged {
        bool accepted = false;
        std::int64_t readMs = 0; // from the request's last byte to the read's end
    };

    Exchanged Exchange(std::uint8_t destination, std::uint8_t control, std::uint8_t function,
                       std::vector<Burst> answer) {
        wire.timedResponder = [answer](const BusMessage&) { return answer; };
        BusMessage request;
        request.SetRequest(destination, control, function);
        BusMessage reply;
        EXPECT_TRUE(SendCommand(group, request));
        const bool accepted =
            ReceiveReply(group, reply, function, false, destination == BROADCAST_ADDRESS);
        return {accepted, clock.NowMs() - wire.sent.back().atMs};
    }

    Exchanged Poll(std::vector<Burst> answer) {
        return Exchange(2, CTRL_READ, FN_READ_RUNTIME_DATA, std::move(answer));
    }
    Exchanged OfflineQuery(std::vector<Burst> answer) {
        return Exchange(BROADCAST_ADDRESS, CTRL_REGISTER, FN_OFFLINE_QUERY, std::move(answer));
    }
};

TEST_F(FastRepliesTest, AddressedReplyEndsOnceItsFrameIsWhole) {
    const Bytes head(POLL_REPLY.begin(), POLL_REPLY.begin() + 9); // ends in LF CR
    const Bytes tail(POLL_REPLY.begin() + 9, POLL_REPLY.end());
    const Bytes rest(POLL_REPLY.begin() + 5, POLL_REPLY.end());
    Bytes truncated = POLL_REPLY;
    truncated.pop_back();
    const struct {
        const char* name;
        std::vector<Burst> answer;
        bool accepted;
        std::int64_t readMs;
    } cases[] = {
        {"paced", Paced(POLL_REPLY, TURNAROUND_MS), true,
         EndOf(POLL_REPLY, TURNAROUND_MS) + REPLY_SETTLE_CHARACTERS},
        {"length byte promises more than the first part",
         Joined(Paced(head, TURNAROUND_MS), Paced(tail, 100)), true,
         EndOf(tail, 100) + REPLY_SETTLE_CHARACTERS},
        {"in small pieces",
         Joined({{5, {0xA5}}, {30, {0xA5, 0x02, 0x01}}, {31, {0x31}}}, Paced(rest, 90)), true,
         EndOf(rest, 90) + REPLY_SETTLE_CHARACTERS},
        {"incomplete at the deadline", Paced(truncated, TURNAROUND_MS), false, DEADLINE_MS},
        {"silent", {}, false, DEADLINE_MS},
    };
    for (const auto& item : cases) {
        SCOPED_TRACE(item.name);
        const Exchanged exchanged = Poll(item.answer);
        EXPECT_EQ(exchanged.accepted, item.accepted);
        EXPECT_EQ(exchanged.readMs, item.readMs);
    }
}

TEST_F(FastRepliesTest, TrailingBytesAreLeftToThePurgeBeforeTheNextRequest) {
    const auto noisy = Joined(Paced(POLL_REPLY, TURNAROUND_MS),
                              {{EndOf(POLL_REPLY, TURNAROUND_MS) + 1, {0x55, 0x55, 0x55}}});
    EXPECT_TRUE(Poll(noisy).accepted);
    EXPECT_TRUE(Poll(Paced(POLL_REPLY, TURNAROUND_MS)).accepted);
}

TEST_F(FastRepliesTest, BroadcastReplyNeedsAQuietGuardAfterIt) {
    const std::int64_t end = EndOf(OFFLINE_REPLY, TURNAROUND_MS);
    const Exchanged quiet = OfflineQuery(Paced(OFFLINE_REPLY, TURNAROUND_MS));
    EXPECT_TRUE(quiet.accepted);
    EXPECT_EQ(quiet.readMs, end + BROADCAST_GUARD_CHARACTERS);

    const Exchanged second =
        OfflineQuery(Joined(Paced(OFFLINE_REPLY, TURNAROUND_MS),
                            Paced(OFFLINE_REPLY, end + BROADCAST_GUARD_CHARACTERS / 2)));
    EXPECT_FALSE(second.accepted);
    EXPECT_EQ(second.readMs, DEADLINE_MS);
    EXPECT_EQ(group.m_rejects.Of(ReplyCheck::Collision), 1U);
}

TEST_F(FastRepliesTest, OffByDefaultEveryReadWaitsItsDeadline) {
    g_bFastReplies = false;
    const Exchanged exchanged = Poll(Paced(POLL_REPLY, TURNAROUND_MS));
    EXPECT_TRUE(exchanged.accepted);
    EXPECT_EQ(exchanged.readMs, DEADLINE_MS);
}

} // namespace
