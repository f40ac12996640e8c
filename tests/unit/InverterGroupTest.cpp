#include "model/InverterGroup.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

constexpr std::uint8_t REFUSED = CInverterGroup::NO_ADDRESS;

std::uint8_t Allocate(CInverterGroup& group, const std::string& serial) {
    return group.AllocateAddress(reinterpret_cast<const std::uint8_t*>(serial.data()),
                                 serial.size());
}

// What registration does with the serial bytes of a registration reply.
CInverter* Register(CInverterGroup& group, const std::string& serial) {
    const std::uint8_t address = Allocate(group, serial);
    if (address == REFUSED) {
        return nullptr;
    }
    auto inverter = group.CreateInverter(address);
    if (!inverter) {
        return nullptr;
    }
    inverter->m_strSerialNo = serial.c_str();
    return group.AppendInverter(std::move(inverter));
}

TEST(InverterGroup, RegisteredSerialGetsNoSecondAddressOnItsPortOnly) {
    CInverterGroup port3;
    CInverterGroup port4;
    CInverter* first = Register(port3, "SN0001");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->m_nAddress, 1);
    EXPECT_EQ(first->m_pGroup, &port3);

    EXPECT_EQ(Allocate(port3, "SN0001"), REFUSED);
    EXPECT_EQ(port3.m_inverters.size(), 1U);
    EXPECT_EQ(Allocate(port3, "SN0002"), 2) << "a refused duplicate costs no address";
    EXPECT_EQ(Allocate(port4, "SN0001"), 1);
    EXPECT_EQ(port3.AllocateAddress(nullptr, 16), REFUSED);
    EXPECT_EQ(Allocate(port3, "SN0003"), 3);
}

TEST(InverterGroup, LetterCaseCountsForAddressesButNotForSerialChanges) {
    CInverterGroup group;
    CInverter* lower = Register(group, "abc123");
    CInverter* upper = Register(group, "ABC123");
    ASSERT_NE(lower, nullptr);
    ASSERT_NE(upper, nullptr);
    EXPECT_EQ(upper->m_nAddress, 2);

    EXPECT_TRUE(group.IsSerialTaken(upper, "abc123"));
    EXPECT_TRUE(group.IsSerialTaken(lower, "Abc123"));
    EXPECT_FALSE(group.IsSerialTaken(nullptr, "abc123"));

    group.RemoveInverter(upper);
    EXPECT_FALSE(group.IsSerialTaken(lower, "ABC123")) << "its own number is not taken";
    EXPECT_FALSE(group.IsSerialTaken(lower, "xyz"));
}

TEST(InverterGroup, TwentyAddressesThenRefusedForGood) {
    CInverterGroup group;
    for (int n = 1; n <= CInverterGroup::MAX_ADDRESS; ++n) {
        CInverter* inverter = Register(group, "SN" + std::to_string(n));
        ASSERT_NE(inverter, nullptr);
        EXPECT_EQ(inverter->m_nAddress, n);
    }
    // Enough refusals to wrap an 8-bit counter onto the broadcast address.
    for (int n = 21; n <= 300; ++n) {
        ASSERT_EQ(Allocate(group, "SN" + std::to_string(n)), REFUSED) << n;
    }
    group.RemoveInverter(group.m_inverters.front().get());
    EXPECT_EQ(Allocate(group, "SN1"), REFUSED);
}

TEST(InverterGroup, RemovalDoesNotFreeTheAddress) {
    CInverterGroup group;
    CInverter* first = Register(group, "SN0001");
    ASSERT_NE(first, nullptr);
    group.RemoveInverter(first);
    EXPECT_TRUE(group.m_inverters.empty());

    CInverter* again = Register(group, "SN0001");
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->m_nAddress, 2);
    EXPECT_EQ(group.FindByAddress(1), nullptr);
    EXPECT_EQ(group.FindByAddress(2), again);
}

TEST(InverterGroup, CreateOnUsedAddressAndForeignRemovalChangeNothing) {
    CInverterGroup group;
    CInverterGroup other;
    CInverter* mine = Register(group, "SN0001");
    CInverter* theirs = Register(other, "SN0002");
    ASSERT_NE(mine, nullptr);
    ASSERT_NE(theirs, nullptr);

    EXPECT_EQ(group.CreateInverter(1), nullptr);
    EXPECT_EQ(group.m_inverters.size(), 1U);

    group.RemoveInverter(theirs);
    group.RemoveInverter(nullptr);
    ASSERT_EQ(group.m_inverters.size(), 1U);
    ASSERT_EQ(other.m_inverters.size(), 1U);
    EXPECT_EQ(other.m_inverters.front().get(), theirs);
    EXPECT_EQ(theirs->m_strSerialNo, "SN0002") << "the foreign record must not be destroyed";
}

TEST(InverterGroup, SerialBytesAreReadUpToTheirFirstNul) {
    CInverterGroup group;
    const std::string withNul("SN01\0garbage", 12);
    CInverter* inverter = Register(group, withNul);
    ASSERT_NE(inverter, nullptr);
    EXPECT_EQ(Allocate(group, "SN01"), REFUSED);
    EXPECT_EQ(Allocate(group, std::string("SN01\0other", 10)), REFUSED);

    const std::string longSerial = "0123456789ABCDEFXYZ";
    inverter->m_strSerialNo = longSerial.substr(0, 16);
    EXPECT_NE(Allocate(group, longSerial), REFUSED) << "all 19 bytes are compared";

    const std::vector<std::uint8_t> oversized(1000, 'A');
    EXPECT_NE(group.AllocateAddress(oversized.data(), oversized.size()), REFUSED);
}

} // namespace
