#include "InverterFactory.h"
#include "SimTestSupport.h"
#include "comm/Protocol.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numbers>

using namespace simtest;

namespace {

class SimInverterTest : public ::testing::Test {
protected:
    std::optional<Bytes> Ask(std::uint8_t destination, std::uint8_t control, std::uint8_t function,
                             const Bytes& data = {}) {
        return inverter.Answer(Request(destination, control, function, data), now);
    }

    void Register(std::uint8_t address) {
        ASSERT_TRUE(Ask(0, 0x30, 0x41, Concat(SerialBytes(serial), {address})));
    }

    Bytes RuntimeData(std::uint8_t address) {
        const auto reply = Ask(address, 0x31, 0x42);
        return reply ? FrameData(*reply) : Bytes{};
    }

    const std::string serial = "SIM0000000003001";
    sim::InverterFactory factory;
    sim::SimInverter inverter = factory.Make(sim::InverterKind::Single, 3, 1, 0);
    std::int64_t now = UtcTime(2026, 6, 15, 12, 0);
};

TEST_F(SimInverterTest, OfflineQueryIsAnsweredOnlyWhileUnregistered) {
    EXPECT_EQ(Ask(0, 0x30, 0x40), WireFrame(0, 1, 0x30, 0xBF, SerialBytes(serial)));

    const Bytes ackFromAddress1{0xA5, 0xA5, 0x01, 0x01, 0x30, 0xBE,
                                0x01, 0x06, 0xFD, 0xBF, 0x0A, 0x0D};
    EXPECT_EQ(Ask(0, 0x30, 0x41, Concat(SerialBytes(serial), {1})), ackFromAddress1);
    EXPECT_EQ(inverter.Address(), 1);
    EXPECT_FALSE(Ask(0, 0x30, 0x40));

    EXPECT_EQ(Ask(1, 0x30, 0x42), WireFrame(1, 1, 0x30, 0xBD, {0x06}));
    EXPECT_FALSE(inverter.IsRegistered());
    EXPECT_EQ(Ask(0, 0x30, 0x40), WireFrame(0, 1, 0x30, 0xBF, SerialBytes(serial)));
}

TEST_F(SimInverterTest, AddressIsTakenOnlyForItsOwnSerialNumber) {
    EXPECT_FALSE(Ask(0, 0x30, 0x41, Concat(SerialBytes("SIM0000000003002"), {4})));
    EXPECT_FALSE(Ask(0, 0x30, 0x41, Concat(SerialBytes(serial), {0})));
    EXPECT_FALSE(inverter.IsRegistered());
    EXPECT_EQ(Ask(0, 0x30, 0x41, Concat(SerialBytes(serial), {4})),
              WireFrame(4, 1, 0x30, 0xBE, {0x06}));
}

TEST_F(SimInverterTest, ReRegisterDropsTheAddressAndReconnectKeepsIt) {
    Register(2);
    EXPECT_FALSE(Ask(0, 0x30, 0x43));
    EXPECT_TRUE(inverter.IsRegistered());
    EXPECT_FALSE(Ask(0, 0x30, 0x44));
    EXPECT_FALSE(inverter.IsRegistered());
}

TEST_F(SimInverterTest, RequestsForOtherAddressesAreNotAnswered) {
    Register(2);
    EXPECT_FALSE(Ask(3, 0x31, 0x42));
    EXPECT_FALSE(Ask(0, 0x31, 0x42));
    EXPECT_FALSE(Ask(3, 0x30, 0x42));
    EXPECT_TRUE(inverter.IsRegistered());
    EXPECT_FALSE(Ask(2, 0x31, 0x4F));
}

TEST_F(SimInverterTest, FieldListsGoOneIdentifierPerByte) {
    Register(2);
    const Bytes single{0x00, 0x40, 0x01, 0x02, 0x41, 0x42, 0x43, 0x44, 0x45, 0x47, 0x48, 0x49,
                       0x4A, 0x4C, 0x0D, 0x7E, 0x7F, 0x3A, 0x39, 0x78, 0x79, 0x3D, 0x7A};
    EXPECT_EQ(Ask(2, 0x31, 0x40), WireFrame(2, 1, 0x31, 0xBF, single));
    const Bytes params{0x40, 0x41, 0x42, 0x43, 0x44, 0x45, 0x46, 0x47, 0x48, 0x49, 0x4A, 0x4B};
    EXPECT_EQ(Ask(2, 0x31, 0x41), WireFrame(2, 1, 0x31, 0xBE, params));
}

TEST_F(SimInverterTest, DeviceInfoHasTheFixedLayout) {
    Register(2);
    const std::string text = "1  3000S1.14Skylark S3000   Quillmoor EnergySIM00000000030013600";
    ASSERT_EQ(text.size(), 64U);
    EXPECT_EQ(Ask(2, 0x31, 0x43), WireFrame(2, 1, 0x31, 0xBC, Bytes(text.begin(), text.end())));
}

TEST_F(SimInverterTest, ParameterValuesFollowTheParameterList) {
    Register(2);
    const Bytes values{0x05, 0xDC, 0x00, 0x3C, 0x15, 0x7C, 0x00, 0x96, 0x07, 0x30, 0x0A, 0x55,
                       0x12, 0x8E, 0x14, 0x1E, 0x09, 0xE2, 0x01, 0x2C, 0x03, 0xE8, 0x00, 0x00};
    EXPECT_EQ(Ask(2, 0x31, 0x44), WireFrame(2, 1, 0x31, 0xBB, values));
}

TEST_F(SimInverterTest, ParameterWritesAreAcknowledgedWithinTheLimits) {
    Register(2);
    const Bytes ack = WireFrame(2, 1, 0x32, 0xBB, {0x06});
    const Bytes nak = WireFrame(2, 1, 0x32, 0xBB, {0x15});
    EXPECT_EQ(Ask(2, 0x32, 0x44, {0x05, 0xDC}), ack); // 1500, the lower limit
    EXPECT_EQ(inverter.Params().Value(0x44), 1500);
    EXPECT_EQ(Ask(2, 0x32, 0x44, {0x05, 0xDB}), nak);
    EXPECT_EQ(Ask(2, 0x32, 0x44, {0x08, 0xFD}), nak); // 2301
    EXPECT_EQ(inverter.Params().Value(0x44), 1500);

    EXPECT_EQ(Ask(2, 0x32, 0x47, {0x15, 0x7C}), WireFrame(2, 1, 0x32, 0xB8, {0x06}));
    EXPECT_EQ(Ask(2, 0x32, 0x47, {0x15, 0x7D}), WireFrame(2, 1, 0x32, 0xB8, {0x15}));
    EXPECT_EQ(Ask(2, 0x32, 0x4D, {0x00, 0x01}), WireFrame(2, 1, 0x32, 0xB2, {0x15}));
    EXPECT_EQ(Ask(2, 0x32, 0x44, {0x07}), nak);
}

TEST_F(SimInverterTest, SerialNumberWriteRenamesTheInverter) {
    Register(2);
    EXPECT_EQ(Ask(2, 0x32, 0x4C, SerialBytes("NEW-SERIAL-0007")),
              WireFrame(2, 1, 0x32, 0xB3, {0x06}));
    EXPECT_EQ(inverter.Profile().serialNo, "NEW-SERIAL-0007");
    const Bytes info = FrameData(*Ask(2, 0x31, 0x43));
    EXPECT_EQ(std::string(info.begin() + 44, info.begin() + 60), "NEW-SERIAL-0007 ");
    EXPECT_EQ(Ask(2, 0x32, 0x4C, {'X'}), WireFrame(2, 1, 0x32, 0xB3, {0x15}));
}

TEST_F(SimInverterTest, ResetClearsTheLifetimeCounters) {
    Register(2);
    Bytes data = RuntimeData(2);
    ASSERT_GT(Word(data, 10), 0); // E-total, lower half
    EXPECT_EQ(Ask(2, 0x33, 0x40), WireFrame(2, 1, 0x33, 0xBF, {0x06}));
    data = RuntimeData(2);
    EXPECT_EQ(Word(data, 9), 0);
    EXPECT_EQ(Word(data, 10), 0);
    EXPECT_EQ(Word(data, 11), 0);
    EXPECT_EQ(Word(data, 12), 0);
    now += 3600;
    data = RuntimeData(2);
    // The hour after noon holds 12/pi * sin(pi/12) hours at rated power.
    const double hourAfterNoon = 12.0 / std::numbers::pi * std::sin(std::numbers::pi / 12.0);
    EXPECT_NEAR(Word(data, 10), 30.0 * inverter.Profile().variation * hourAfterNoon, 0.6);
    EXPECT_EQ(Word(data, 12), 1);
    EXPECT_EQ(Ask(2, 0x33, 0x41), WireFrame(2, 1, 0x33, 0xBE, {0x15}));
}

TEST_F(SimInverterTest, SinglePhaseRuntimeDataIsConsistent) {
    Register(2);
    const Bytes data = RuntimeData(2);
    ASSERT_EQ(data.size(), 46U);
    const double variation = inverter.Profile().variation;
    EXPECT_EQ(Word(data, 0), 450);                    // 20 C ambient + 25 C at full
    EXPECT_EQ(Word(data, 1), Word(data, 2));          // Vpv is string 1
    EXPECT_NEAR(Word(data, 7), 30000 * variation, 1); // Pac at noon
    EXPECT_NEAR(Word(data, 4), Word(data, 7) * 10.0 / Word(data, 5), 1); // Iac = P / V
    EXPECT_NEAR(Word(data, 5), 2300, 30);
    EXPECT_NEAR(Word(data, 6), 5000, 3);
    EXPECT_EQ(Word(data, 13), 1); // mode normal
    const double eToday = Word(data, 14) / 100.0;
    EXPECT_NEAR(eToday, 3.0 * variation * 12.0 / std::numbers::pi, 0.006); // half the day's energy
    EXPECT_EQ(Word(data, 15), 0);
    EXPECT_EQ(Word(data, 16), 0);
}

TEST_F(SimInverterTest, ThreePhaseTotalsAreTheSumsOfThePhases) {
    sim::SimInverter three = factory.Make(sim::InverterKind::Three, 4, 1, 6000);
    three.Answer(Request(0, 0x30, 0x41, Concat(SerialBytes("SIM0000000004001"), {1})), now);
    const Bytes data = FrameData(*three.Answer(Request(1, 0x31, 0x42), now));
    ASSERT_EQ(data.size(), 92U);
    const std::uint16_t pac = Word(data, 7);
    EXPECT_NEAR(pac, 60000 * three.Profile().variation, 1);
    EXPECT_EQ(pac, Word(data, 26) + Word(data, 27) + Word(data, 28));
    const auto dword = [&data](std::size_t high) {
        return std::uint32_t{Word(data, high)} << 16 | Word(data, high + 1);
    };
    EXPECT_EQ(dword(10), dword(29) + dword(31) + dword(33)); // E-total = its three phases
    EXPECT_GT(dword(12), 0U);                                // h-total
    EXPECT_NEAR(Word(data, 18), Word(data, 26) * 10.0 / Word(data, 21), 1);
    EXPECT_EQ(Word(data, 8), Word(data, 24)); // the phases share one grid
    EXPECT_EQ(Word(data, 8), Word(data, 25));
}

} // namespace
