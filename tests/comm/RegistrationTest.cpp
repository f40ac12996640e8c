#include "CommFixture.h"
#include "comm/DeviceDescription.h"
#include "model/SingleRuntimeData.h"
#include "model/ThreeRuntimeData.h"

#include <cstring>

namespace {

class RegistrationTest : public CommFixture {};

TEST_F(RegistrationTest, RegistersDescribesAndAnnouncesAnInverter) {
    plant.Add("A100000000000001");
    plant.Add("B2", '3');
    RunFor(15);

    ASSERT_EQ(group.Inverters().size(), 2U);
    CInverter& first = *Inverter(0);
    EXPECT_EQ(first.m_nAddress, 1);
    EXPECT_EQ(first.m_strSerialNo, "A100000000000001");
    EXPECT_EQ(first.m_strModel, "SUNBOX 3000");
    EXPECT_EQ(first.m_strManufacturer, "Example Works");
    EXPECT_EQ(first.m_strFirmwareVer, "V1.20");
    EXPECT_EQ(first.m_nRatedPower, 3000);
    EXPECT_DOUBLE_EQ(first.m_dNominalVpv, 360.0);
    EXPECT_EQ(first.m_nPhaseType, 1);
    EXPECT_NE(dynamic_cast<SingleRuntimeData*>(first.m_pRuntimeData.get()), nullptr);
    EXPECT_EQ(first.m_runtimeFormat, (Bytes{0x44, 0x0D}));
    EXPECT_EQ(first.m_params[0], 1500);
    EXPECT_EQ(first.m_params[1], 60);
    EXPECT_EQ(first.m_pGroup, &group);

    CInverter& second = *Inverter(1);
    EXPECT_EQ(second.m_nAddress, 2);
    EXPECT_EQ(second.m_nPhaseType, 3);
    EXPECT_NE(dynamic_cast<ThreeRuntimeData*>(second.m_pRuntimeData.get()), nullptr);

    const auto messages = list.Messages();
    ASSERT_GE(messages.size(), 2U);
    EXPECT_EQ(messages[0].message, WM_INVERTER_REGISTERED);
    EXPECT_EQ(messages[0].wParam, reinterpret_cast<std::uintptr_t>(&first));
    EXPECT_GE(list.Count(WM_INVERTER_UPDATED, &first), 1);
}

TEST_F(RegistrationTest, OneInverterPerAttemptAtLeastTenSecondsApart) {
    plant.Add("S1");
    plant.Add("S2");
    plant.Add("S3");
    RunFor(9);
    EXPECT_EQ(group.Inverters().size(), 1U);
    const auto queries = wire.SentWith(CTRL_REGISTER, FN_OFFLINE_QUERY);
    ASSERT_EQ(queries.size(), 1U);

    RunFor(25);
    EXPECT_EQ(group.Inverters().size(), 3U);
    std::vector<std::int64_t> times;
    for (const auto& sent : wire.sent) {
        if (sent.message.Function() == FN_OFFLINE_QUERY &&
            sent.message.Control() == CTRL_REGISTER) {
            times.push_back(sent.atMs);
        }
    }
    for (std::size_t i = 1; i < times.size(); ++i) {
        EXPECT_GE(times[i] - times[i - 1], 9000) << "attempt " << i; // whole seconds
    }
}

TEST_F(RegistrationTest, OfflineReplyOfWrongLengthUsesNoAddress) {
    for (const std::size_t length : {15U, 17U}) {
        wire.responder = [length](const BusMessage& request) {
            if (request.Function() == FN_OFFLINE_QUERY && request.Control() == CTRL_REGISTER) {
                return ReplyFrame(0, CTRL_REGISTER, FN_OFFLINE_QUERY, Bytes(length, 'X'));
            }
            return Bytes{};
        };
        RunFor(5);
        EXPECT_TRUE(group.Inverters().empty());
        EXPECT_EQ(group.m_nNextAddress, 1);
        EXPECT_EQ(CountSent(CTRL_REGISTER, FN_SEND_ADDRESS), 0U);
    }
}

// A device answers the offline query with a serial number the port already
// holds, as its bus serial or as the one its description gave.
struct KnownSerialCase {
    const char* name;
    const char* describedAs; // empty: the description repeats the bus serial
    bool twin; // a second device with that bus serial; else the first forgot its address
};

void PrintTo(const KnownSerialCase& known, std::ostream* out) {
    *out << known.name;
}

class KnownSerialTest : public CommFixture,
                        public ::testing::WithParamInterface<KnownSerialCase> {};

TEST_P(KnownSerialTest, TheRecordsAddressIsSentAgainOnlyWhenNoDeviceAnswersIt) {
    const KnownSerialCase& known = GetParam();
    plant.Add("TWIN").describedSerial = known.describedAs;
    if (known.twin) {
        plant.Add("TWIN");
    }
    RunFor(5);
    ASSERT_EQ(group.Inverters().size(), 1U);
    if (!known.twin) {
        plant.inverters[0].address = 0; // restarted; its record stays
    }
    RunFor(14);

    EXPECT_EQ(group.Inverters().size(), 1U);
    EXPECT_EQ(group.m_nNextAddress, 2);
    const auto addressed = wire.SentWith(CTRL_REGISTER, FN_SEND_ADDRESS);
    if (known.twin) {
        EXPECT_EQ(addressed.size(), 1U);
        EXPECT_EQ(plant.inverters[1].address, 0);
        return;
    }
    ASSERT_EQ(addressed.size(), 2U);
    EXPECT_EQ(addressed[1].Data()[SERIAL_NO_LENGTH], 1);
    EXPECT_EQ(plant.inverters[0].address, 1);
    EXPECT_EQ(Inverter(0)->m_nFailCount, 0); // polled again
}

INSTANTIATE_TEST_SUITE_P(
    RegistrationTest, KnownSerialTest,
    ::testing::Values(KnownSerialCase{"Restarted", "", false},
                      KnownSerialCase{"RestartedDescribedOtherwise", "DESCRIBED", false},
                      KnownSerialCase{"Twin", "", true},
                      KnownSerialCase{"TwinOfOneDescribedOtherwise", "DESCRIBED", true}),
    [](const auto& test) { return std::string(test.param.name); });

TEST_F(RegistrationTest, UnacknowledgedAddressLeavesAnUndescribedRecord) {
    plant.Add("NOACK").ackAddress = false;
    RunFor(5);
    ASSERT_EQ(group.Inverters().size(), 1U);
    CInverter& inverter = *Inverter(0);
    EXPECT_EQ(inverter.m_nAddress, 1);
    EXPECT_EQ(inverter.m_strSerialNo, "NOACK");
    EXPECT_EQ(inverter.m_nPhaseType, 0);
    EXPECT_EQ(inverter.m_pRuntimeData, nullptr);
    EXPECT_EQ(CountSent(CTRL_READ, FN_READ_DEVICE_INFO), 0U);
}

TEST_F(RegistrationTest, UndescribedInverterIsPolledButNothingIsKept) {
    FakeInverter& fake = plant.Add("MUTE");
    fake.describe = false;
    RunFor(10);
    ASSERT_EQ(group.Inverters().size(), 1U);
    CInverter& inverter = *Inverter(0);
    EXPECT_EQ(inverter.m_pRuntimeData, nullptr);
    EXPECT_EQ(inverter.m_runtimeFormat, fake.runtimeFormat); // the other queries still ran
    EXPECT_GE(CountSent(CTRL_READ, FN_READ_RUNTIME_DATA), 2U);
    EXPECT_EQ(inverter.m_bOnline, 1);
    EXPECT_TRUE(inverter.m_powerGraph.Empty());
}

TEST_F(RegistrationTest, GarbledOfflineReplyIsRetriedOnTheNextAttempt) {
    plant.Add("FIRST");
    plant.Add("SECOND");
    plant.collide = true;
    bool garbled = true;
    wire.responder = [&](const BusMessage& request) {
        if (!garbled && request.Function() == FN_OFFLINE_QUERY &&
            request.Control() == CTRL_REGISTER) {
            plant.inverters[1].silent = true; // backs off after the collision
        }
        return plant.Answer(request);
    };
    RunFor(5);
    EXPECT_TRUE(group.Inverters().empty());
    EXPECT_EQ(group.m_bRegistrationRoundDone, 0) << "a garbled answer is somebody";
    garbled = false;
    RunFor(12);
    ASSERT_EQ(group.Inverters().size(), 1U);
    EXPECT_EQ(Inverter(0)->m_strSerialNo, "FIRST");
}

class GarbledAnswerTest : public CommFixture, public ::testing::WithParamInterface<bool> {};

// Two inverters answer the offline query at once; the one later in turn backs
// off. Fast mode asks again after one to four answer times (28 ms each at
// 9600 bit/s), the default mode after its whole period.
TEST_P(GarbledAnswerTest, TheNextQueryComesSoonOnlyInFastMode) {
    const bool fast = GetParam();
    g_bFastReplies = fast;
    plant.Add("FIRST");
    plant.Add("SECOND");
    plant.collide = true;
    int queries = 0;
    wire.responder = [&](const BusMessage& request) {
        if (request.Function() == FN_OFFLINE_QUERY && request.Control() == CTRL_REGISTER &&
            ++queries == 2) {
            plant.inverters[1].silent = true;
        }
        return plant.Answer(request);
    };
    RunFor(fast ? 2 : 12);
    g_bFastReplies = false;
    std::vector<std::int64_t> queried;
    for (const auto& sent : wire.sent) {
        if (sent.message.Function() == FN_OFFLINE_QUERY) {
            queried.push_back(sent.atMs);
        }
    }
    ASSERT_GE(queried.size(), 2U);
    const std::int64_t gap = queried[1] - queried[0];
    if (fast) {
        EXPECT_GE(gap, 28);
        EXPECT_LT(gap, 200);
    } else {
        EXPECT_GE(gap, 9'000); // the period, on whole seconds
    }
    ASSERT_EQ(group.Inverters().size(), 1U);
    EXPECT_EQ(Inverter(0)->m_strSerialNo, "FIRST");
}

INSTANTIATE_TEST_SUITE_P(Modes, GarbledAnswerTest, ::testing::Bool());

TEST_F(RegistrationTest, TheFirstRoundEndsWhenAnOfflineQueryFindsNobody) {
    plant.Add("S1");
    plant.Add("S2");
    RunFor(15);
    ASSERT_EQ(group.Inverters().size(), 2U);
    EXPECT_EQ(group.m_bRegistrationRoundDone, 0);
    RunFor(10);
    EXPECT_EQ(group.m_bRegistrationRoundDone, 1);
}

TEST_F(RegistrationTest, DescriptionFieldsFollowTheirTextRules) {
    std::uint8_t data[64];
    std::memset(data, ' ', sizeof data);
    data[0] = '2';
    std::memcpy(data + 1, "  -12x", 6);
    std::memcpy(data + 44, "AB12", 4);
    std::memcpy(data + 60, " 12x", 4);
    const DeviceDescription description = ParseDeviceDescription(data);
    EXPECT_EQ(description.phaseType, 1);
    EXPECT_EQ(description.ratedPower, -12);
    EXPECT_EQ(description.serialNo, "AB12");
    EXPECT_TRUE(description.model.empty());
    EXPECT_DOUBLE_EQ(description.nominalVpv, 1.2);

    CInverter inverter;
    inverter.m_strModel = "KEPT";
    ApplyDeviceDescription(inverter, description);
    EXPECT_EQ(inverter.m_strModel, "KEPT");
    EXPECT_EQ(inverter.m_strSerialNo, "AB12");

    const std::uint8_t tabbed[5] = {'\t', 'V', '1', ' ', 0};
    EXPECT_EQ(TrimmedField(tabbed, 5), "\tV1");
    const std::uint8_t digits[4] = {'3', '6', '0', '5'};
    EXPECT_EQ(DecimalField(digits, 4), 3605);
}

} // namespace
