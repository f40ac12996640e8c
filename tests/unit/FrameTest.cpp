#include "comm/Frame.h"

#include <array>
#include <gtest/gtest.h>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Frame(const BusMessage& message) {
    std::array<std::uint8_t, FRAME_BUFFER_SIZE> buffer{};
    const std::size_t length = BuildFrame(buffer.data(), message);
    return Bytes(buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(length));
}

// A reply from inverter 2 to the station, answering the given function.
Bytes Reply(std::uint8_t requestFunction, const Bytes& data, std::uint8_t destination = 1) {
    BusMessage message;
    message.bytes[0] = 2;
    message.bytes[1] = destination;
    message.bytes[2] = CTRL_READ;
    message.bytes[3] = static_cast<std::uint8_t>(~requestFunction);
    message.bytes[4] = static_cast<std::uint8_t>(data.size());
    std::copy(data.begin(), data.end(), message.Data());
    return Frame(message);
}

bool Check(const Bytes& bytes, std::uint8_t function, bool ack = false) {
    return CheckReplyFrame(bytes.data(), bytes.size(), function, ack);
}

TEST(FrameTest, BuildsTheReRegisterBroadcast) {
    BusMessage message;
    message.SetRequest(BROADCAST_ADDRESS, CTRL_REGISTER, FN_RE_REGISTER);
    EXPECT_EQ(Frame(message),
              (Bytes{0xA5, 0xA5, 0x01, 0x00, 0x30, 0x44, 0x00, 0xFE, 0x41, 0x0A, 0x0D}));
}

TEST(FrameTest, ChecksumIsTheTwosComplementOfTheWrappingSum) {
    const Bytes zero{0x00, 0x00};
    EXPECT_EQ(FrameChecksum(zero.data(), zero.size()), 0x0000);
    const Bytes wraps(258, 0xFF); // sum 0x100FE wraps to 0x00FE
    EXPECT_EQ(FrameChecksum(wraps.data(), wraps.size()), 0xFF02);
}

TEST(FrameTest, FrameCarriesDataAndItsChecksum) {
    BusMessage message;
    message.SetRequest(3, CTRL_WRITE, 0x40, 2);
    message.Data()[0] = 0x05;
    message.Data()[1] = 0xE1;
    // 0xA5 + 0xA5 + 0x01 + 0x03 + 0x32 + 0x40 + 0x02 + 0x05 + 0xE1 = 0x02A8.
    EXPECT_EQ(Frame(message), (Bytes{0xA5, 0xA5, 0x01, 0x03, 0x32, 0x40, 0x02, 0x05, 0xE1, 0xFD,
                                     0x58, 0x0A, 0x0D}));
}

TEST(FrameTest, AcceptsAValidReply) {
    EXPECT_TRUE(Check(Reply(FN_READ_RUNTIME_DATA, {0x01, 0x02}), FN_READ_RUNTIME_DATA));
}

TEST(FrameTest, EachRejectionNamesItsRule) {
    const Bytes reply = Reply(FN_READ_RUNTIME_DATA, {0x06, 0x00});
    auto changed = [&reply](std::size_t at, std::uint8_t value) {
        Bytes bytes = reply;
        bytes[at] = value;
        return bytes;
    };
    Bytes leadingNoise = reply;
    leadingNoise.insert(leadingNoise.begin(), 0x00);
    Bytes trailingByte = reply;
    trailingByte.push_back(0x00);
    Bytes swappedTrailer = reply;
    std::swap(swappedTrailer[swappedTrailer.size() - 1], swappedTrailer[swappedTrailer.size() - 2]);
    const std::pair<Bytes, ReplyCheck> cases[] = {
        {reply, ReplyCheck::Accepted},
        {{}, ReplyCheck::NoReply},
        {changed(1, 0xA4), ReplyCheck::NoSync},
        {leadingNoise, ReplyCheck::NoSync},
        {Bytes(reply.begin(), reply.begin() + 10), ReplyCheck::TooShort},
        {changed(3, 2), ReplyCheck::NotForStation},
        {changed(5, FN_READ_RUNTIME_DATA), ReplyCheck::WrongFunction},
        {changed(7, 0x15), ReplyCheck::NotAcknowledged},
        {changed(reply.size() - 1, 0x0A), ReplyCheck::BadTrailer},
        {trailingByte, ReplyCheck::BadTrailer},
        {swappedTrailer, ReplyCheck::BadTrailer},
        {Reply(FN_READ_RUNTIME_DATA, {1, 2}, 2), ReplyCheck::NotForStation},
        {Reply(FN_READ_RUNTIME_DATA, {NAK, 0x00}), ReplyCheck::NotAcknowledged},
        {changed(6, 200), ReplyCheck::LengthPastEnd},
        {changed(reply.size() - 3, reply[reply.size() - 3] ^ 1), ReplyCheck::BadChecksum},
    };
    for (const auto& [bytes, rule] : cases) {
        EXPECT_EQ(CheckReply(bytes.data(), bytes.size(), FN_READ_RUNTIME_DATA, true), rule)
            << ReplyCheckText(rule);
    }
}

TEST(FrameTest, RepliesToFunction40AreAcceptedFromAnyDestination) {
    EXPECT_TRUE(Check(Reply(FN_OFFLINE_QUERY, Bytes(16, 'A'), 0), FN_OFFLINE_QUERY));
    EXPECT_TRUE(Check(Reply(FN_OFFLINE_QUERY, Bytes(16, 'A'), 7), FN_OFFLINE_QUERY));
    EXPECT_TRUE(Check(Reply(FN_RESET_TOTALS, {ACK}, 0), FN_RESET_TOTALS, true));
}

TEST(FrameTest, ChecksumRangeComesFromTheLengthField) {
    // Length field 10, twelve data bytes, checksum over the first ten.
    Bytes frame{0xA5, 0xA5, 0x02, 0x01, 0x31, 0xBD, 10};
    for (std::uint8_t i = 0; i < 12; ++i) {
        frame.push_back(static_cast<std::uint8_t>(0x10 + i));
    }
    // The seven header bytes and 0x10 to 0x19 sum to 0x0312.
    frame.insert(frame.end(), {0xFC, 0xEE, 0x0A, 0x0D});
    ASSERT_TRUE(Check(frame, FN_READ_RUNTIME_DATA));

    BusMessage message;
    message.Data()[10] = 0xEE;
    CopyReplyMessage(frame.data(), message);
    EXPECT_EQ(message.Length(), 10);
    EXPECT_EQ(message.Data()[0], 0x10);
    EXPECT_EQ(message.Data()[9], 0x19);
    EXPECT_EQ(message.Data()[10], 0xEE);
}

TEST(FrameTest, FrameIsWholeOnceTheLengthBytesCountAndTheTrailerAreIn) {
    const Bytes reply = Reply(FN_READ_RUNTIME_DATA, {1, 2, 3, 4}); // 15 bytes
    auto first = [&reply](int count) { return Bytes(reply.begin(), reply.begin() + count); };
    Bytes badTrailer = reply;
    badTrailer.back() = 0x0A;
    const std::pair<Bytes, int> cases[] = {
        {{}, 11},
        {first(6), 5}, // the length byte not yet in
        {first(7), 8},
        {first(14), 1},
        {reply, 0},
        {Bytes{0xA5, 0x5A}, ReplyEnd::NEVER_WHOLE},
        {badTrailer, ReplyEnd::NEVER_WHOLE},
    };
    for (const auto& [bytes, missing] : cases) {
        EXPECT_EQ(FrameBytesMissing(bytes.data(), static_cast<int>(bytes.size())), missing)
            << bytes.size() << " bytes";
    }
}

TEST(FrameTest, LengthFieldBeyondTheReadIsRejected) {
    Bytes reply = Reply(FN_READ_RUNTIME_DATA, {1, 2});
    reply[6] = 200;
    EXPECT_FALSE(Check(reply, FN_READ_RUNTIME_DATA));
}

} // namespace
