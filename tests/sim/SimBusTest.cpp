#include "SimBus.h"

#include "InverterFactory.h"
#include "RequestParser.h"
#include "SimTestSupport.h"
#include "comm/Frame.h"

#include <gtest/gtest.h>

using namespace simtest;

namespace {

std::vector<std::uint8_t> Functions(const std::vector<BusMessage>& requests) {
    std::vector<std::uint8_t> functions;
    for (const BusMessage& request : requests) {
        functions.push_back(request.Function());
    }
    return functions;
}

TEST(RequestParserTest, PicksFramesOutOfNoiseAndPieces) {
    sim::RequestParser parser;
    const Bytes first = WireFrame(1, 2, 0x31, 0x42);
    const Bytes second = WireFrame(1, 0, 0x30, 0x41, Bytes(17, 0x33));
    const Bytes stream = Concat(Concat(Concat({0x00, 0xA5, 0x13}, first), {0xA5}), second);
    std::vector<BusMessage> requests;
    for (std::size_t i = 0; i < stream.size(); i += 5) {
        const std::size_t count = std::min<std::size_t>(5, stream.size() - i);
        for (const BusMessage& request : parser.Feed(stream.data() + i, count)) {
            requests.push_back(request);
        }
    }
    ASSERT_EQ(Functions(requests), (std::vector<std::uint8_t>{0x42, 0x41}));
    EXPECT_EQ(requests[1].Length(), 17);
    EXPECT_EQ(requests[1].Data()[16], 0x33);
}

TEST(RequestParserTest, DropsBrokenFramesAndOtherSenders) {
    sim::RequestParser parser;
    Bytes badChecksum = WireFrame(1, 2, 0x31, 0x40);
    badChecksum[7] ^= 0x01;
    Bytes badTrailer = WireFrame(1, 2, 0x31, 0x41);
    badTrailer.back() = 0x0A;
    const Bytes fromInverter = WireFrame(2, 1, 0x31, 0xBD);
    const Bytes good = WireFrame(1, 2, 0x31, 0x43);
    const Bytes stream = Concat(Concat(Concat(badChecksum, badTrailer), fromInverter), good);
    EXPECT_EQ(Functions(parser.Feed(stream.data(), stream.size())),
              std::vector<std::uint8_t>{0x43});
}

TEST(RequestParserTest, NoiseThatLooksLikeALongFrameDoesNotHoldUpTheNextOne) {
    sim::RequestParser parser;
    const Bytes noise{0xA5, 0xA5, 0x01, 0x02, 0x31, 0x42, 0xF0, 0x00};
    const Bytes good = WireFrame(1, 2, 0x31, 0x42);
    const Bytes stream = Concat(noise, good);
    EXPECT_EQ(Functions(parser.Feed(stream.data(), stream.size())),
              std::vector<std::uint8_t>{0x42});
}

class SimBusTest : public ::testing::Test {
protected:
    void AddInverters(int count) {
        for (int position = 1; position <= count; ++position) {
            bus.AddInverter(factory.Make(sim::InverterKind::Single, 3, position, 0));
        }
    }

    Bytes Send(const Bytes& frame) { return bus.Receive(frame.data(), frame.size(), now).Bytes(); }

    // One registration attempt as the station makes it; the serial number it
    // registered, or empty.
    std::string RegisterOne(std::uint8_t address) {
        const Bytes reply = Send(WireFrame(1, 0, 0x30, 0x40));
        if (!CheckReplyFrame(reply.data(), reply.size(), 0x40, false) || reply[6] != 16) {
            return {};
        }
        const Bytes serial(reply.begin() + 7, reply.begin() + 23);
        const Bytes ack = Send(WireFrame(1, 0, 0x30, 0x41, Concat(serial, {address})));
        EXPECT_TRUE(CheckReplyFrame(ack.data(), ack.size(), 0x41, true));
        return std::string(serial.begin(), serial.end());
    }

    sim::InverterFactory factory;
    sim::SimBus bus{3};
    std::int64_t now = UtcTime(2026, 3, 1, 9, 30);
};

TEST_F(SimBusTest, LoneUnregisteredInverterAnswersCleanly) {
    AddInverters(1);
    EXPECT_EQ(Send(WireFrame(1, 0, 0x30, 0x40)),
              WireFrame(0, 1, 0x30, 0xBF, SerialBytes("SIM0000000003001")));
}

TEST_F(SimBusTest, CollidingAnswersAreRejectedByTheReplyCheck) {
    for (const int count : {2, 3, 7}) {
        sim::SimBus crowded(3);
        for (int position = 1; position <= count; ++position) {
            crowded.AddInverter(factory.Make(sim::InverterKind::Single, 3, position, 0));
        }
        const Bytes query = WireFrame(1, 0, 0x30, 0x40);
        const sim::LineBurst burst = crowded.Receive(query.data(), query.size(), now);
        const Bytes& mixed = burst.Bytes();
        EXPECT_EQ(mixed.size(), 27U * static_cast<std::size_t>(count));
        EXPECT_EQ(burst.ByteTimes(), 27U); // the answers overlap on the line
        EXPECT_FALSE(CheckReplyFrame(mixed.data(), mixed.size(), 0x40, false)) << count;
    }
}

TEST_F(SimBusTest, CollidersTakeTurnsInSerialOrder) {
    AddInverters(3);
    std::vector<std::string> registered;
    int attempts = 0;
    for (std::uint8_t address = 1; registered.size() < 3 && attempts < 10; ++attempts) {
        const std::string serial = RegisterOne(address);
        if (!serial.empty()) {
            registered.push_back(serial);
            ++address;
        }
    }
    EXPECT_EQ(registered, (std::vector<std::string>{"SIM0000000003001", "SIM0000000003002",
                                                    "SIM0000000003003"}));
    EXPECT_EQ(attempts, 4); // one collision, then one clean answer per attempt
    EXPECT_TRUE(Send(WireFrame(1, 0, 0x30, 0x40)).empty());
}

TEST_F(SimBusTest, ReRegisterBroadcastSendsEveryoneBackToRegistration) {
    AddInverters(2);
    ASSERT_EQ(RegisterOne(1), ""); // collision
    ASSERT_EQ(RegisterOne(1), "SIM0000000003001");
    ASSERT_EQ(RegisterOne(2), "SIM0000000003002");
    EXPECT_TRUE(Send(WireFrame(1, 0, 0x30, 0x44)).empty());
    for (const sim::SimInverter& inverter : bus.Inverters()) {
        EXPECT_FALSE(inverter.IsRegistered());
    }
}

TEST_F(SimBusTest, EachRequestOfABurstIsAnswered) {
    AddInverters(2);
    bus.Inverters()[0].Answer(Request(0, 0x30, 0x41, Concat(SerialBytes("SIM0000000003001"), {1})),
                              now);
    bus.Inverters()[1].Answer(Request(0, 0x30, 0x41, Concat(SerialBytes("SIM0000000003002"), {2})),
                              now);
    const Bytes burst = Concat(WireFrame(1, 1, 0x31, 0x41), WireFrame(1, 2, 0x31, 0x41));
    const Bytes params{0x40, 0x41, 0x42, 0x43, 0x44, 0x45, 0x46, 0x47, 0x48, 0x49, 0x4A, 0x4B};
    EXPECT_EQ(Send(burst),
              Concat(WireFrame(1, 1, 0x31, 0xBE, params), WireFrame(2, 1, 0x31, 0xBE, params)));
}

} // namespace
