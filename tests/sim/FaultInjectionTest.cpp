#include "InverterFactory.h"
#include "SimTestSupport.h"
#include "comm/Frame.h"

#include <gtest/gtest.h>

using namespace simtest;

namespace {

class FaultInjectionTest : public ::testing::Test {
protected:
    void SetUp() override {
        single.Answer(Request(0, 0x30, 0x41, Concat(SerialBytes("SIM0000000003001"), {2})), now);
        three.Answer(Request(0, 0x30, 0x41, Concat(SerialBytes("SIM0000000004001"), {3})), now);
    }

    std::optional<Bytes> Ask(sim::SimInverter& inverter, std::uint8_t destination,
                             std::uint8_t control, std::uint8_t function, const Bytes& data = {}) {
        return inverter.Answer(Request(destination, control, function, data), now);
    }

    Bytes Runtime(sim::SimInverter& inverter) {
        return FrameData(*Ask(inverter, inverter.Address(), 0x31, 0x42));
    }

    static bool Accepted(const Bytes& frame, std::uint8_t function, bool ack) {
        return CheckReplyFrame(frame.data(), frame.size(), function, ack);
    }

    sim::InverterFactory factory;
    sim::SimInverter single = factory.Make(sim::InverterKind::Single, 3, 1, 0);
    sim::SimInverter three = factory.Make(sim::InverterKind::Three, 4, 1, 0);
    std::int64_t now = UtcTime(2026, 6, 15, 11, 0);
};

TEST_F(FaultInjectionTest, SilentInverterNeitherAnswersNorActs) {
    single.Faults().silent = true;
    EXPECT_FALSE(Ask(single, 2, 0x31, 0x42));
    EXPECT_FALSE(Ask(single, 0, 0x30, 0x44));
    EXPECT_EQ(single.Address(), 2);
}

TEST_F(FaultInjectionTest, NakRefusesAcknowledgedRequestsOnly) {
    single.Faults().nak = true;
    EXPECT_EQ(Ask(single, 2, 0x32, 0x40, {0x07, 0xD0}), WireFrame(2, 1, 0x32, 0xBF, {0x15}));
    EXPECT_EQ(single.Params().Value(0x40), 1500);
    EXPECT_EQ(Ask(single, 2, 0x33, 0x40), WireFrame(2, 1, 0x33, 0xBF, {0x15}));
    EXPECT_EQ(Ask(single, 2, 0x30, 0x42), WireFrame(2, 1, 0x30, 0xBD, {0x15}));
    EXPECT_TRUE(single.IsRegistered());
    EXPECT_TRUE(Accepted(*Ask(single, 2, 0x31, 0x42), 0x42, false));

    single.Unregister();
    EXPECT_EQ(Ask(single, 0, 0x30, 0x41, Concat(SerialBytes("SIM0000000003001"), {5})),
              WireFrame(0, 1, 0x30, 0xBE, {0x15}));
    EXPECT_FALSE(single.IsRegistered());
}

TEST_F(FaultInjectionTest, WireFaultsSpoilOtherwiseGoodReplies) {
    const Bytes good = *Ask(single, 2, 0x31, 0x44);
    ASSERT_TRUE(Accepted(good, 0x44, false));

    single.Faults().badChecksum = true;
    Bytes spoilt = *Ask(single, 2, 0x31, 0x44);
    ASSERT_EQ(spoilt.size(), good.size());
    EXPECT_NE(spoilt[spoilt.size() - 3], good[good.size() - 3]);
    EXPECT_TRUE(std::equal(good.begin(), good.end() - 4, spoilt.begin()));
    EXPECT_FALSE(Accepted(spoilt, 0x44, false));

    single.Faults() = {};
    single.Faults().trailingByte = true;
    spoilt = *Ask(single, 2, 0x31, 0x44);
    EXPECT_EQ(spoilt, Concat(good, {0x55}));
    EXPECT_FALSE(Accepted(spoilt, 0x44, false));

    single.Faults() = {};
    single.Faults().misaddressed = true;
    spoilt = *Ask(single, 2, 0x31, 0x44);
    EXPECT_NE(spoilt[3], 0x01);
    EXPECT_FALSE(Accepted(spoilt, 0x44, false));
    EXPECT_TRUE(Accepted(*Ask(single, 2, 0x33, 0x40), 0x40, true)); // any destination for 0x40
}

TEST_F(FaultInjectionTest, SinglePhaseFaultModeCarriesBitsAndFaultValues) {
    single.Faults().condition = sim::FaultCondition{3, 0x00020000, {{0x7A, 999}}};
    Bytes data = Runtime(single);
    EXPECT_EQ(Word(data, 13), 3);      // mode
    EXPECT_EQ(Word(data, 7), 0);       // no output while faulted
    EXPECT_EQ(Word(data, 15), 0x0002); // error bits, upper half
    EXPECT_EQ(Word(data, 16), 0x0000);
    EXPECT_EQ(Word(data, 19), 2780); // bit 17: grid voltage out of range
    EXPECT_EQ(Word(data, 22), 999);  // given Zac
    EXPECT_GT(Word(data, 14), 0);    // E-today keeps its value

    single.Faults() = {};
    data = Runtime(single);
    EXPECT_EQ(Word(data, 13), 1);
    EXPECT_EQ(Word(data, 16), 0);
    EXPECT_EQ(Word(data, 19), 2780); // the values of the last fault stay
}

TEST_F(FaultInjectionTest, ThreePhaseFaultUsesItsOwnIdentifiers) {
    three.Faults().condition = sim::FaultCondition{2, 0x00008400, {{0xB9, 4711}}};
    const Bytes data = Runtime(three);
    EXPECT_EQ(Word(data, 14), 2);
    EXPECT_EQ(Word(data, 16), 0x0000); // 0x3F, upper half
    EXPECT_EQ(Word(data, 17), 0x8400); // 0x3E, lower half
    EXPECT_EQ(Word(data, 7), 0);
    EXPECT_EQ(Word(data, 45), 450);  // bit 10: ground current
    EXPECT_EQ(Word(data, 43), 4711); // given phase-2 frequency
}

TEST_F(FaultInjectionTest, EpisodeComesBackEveryPeriod) {
    single.Faults().episode = sim::FaultEpisode{600, 60, now, sim::FaultCondition{2, 0x2000, {}}};
    const std::vector<std::pair<int, int>> modeAt{{0, 2},   {59, 2},  {60, 1},
                                                  {599, 1}, {600, 2}, {1261, 1}};
    const std::int64_t start = now;
    for (const auto& [offset, mode] : modeAt) {
        now = start + offset;
        EXPECT_EQ(Word(Runtime(single), 13), mode) << "at +" << offset << " s";
    }
    now = start;
    EXPECT_EQ(Word(Runtime(single), 18), 880); // bit 13: over temperature
}

} // namespace
