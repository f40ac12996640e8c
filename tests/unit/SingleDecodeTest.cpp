#include "RuntimeRecordFields.h"
#include "comm/RuntimeDecode.h"
#include "model/Inverter.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <map>
#include <vector>

namespace {

constexpr std::time_t SAMPLE_TIME = 1'700'000'000;

// The decoder's trace goes to stderr only when enabled before its first use.
const bool traceEnabled = setenv("HELIOWATCH_TRACE", "1", 1) == 0;

SingleRuntimeData& DecodeAs(CInverter& inverter, std::vector<std::uint8_t> format,
                            const std::vector<std::uint8_t>& payload, std::time_t sampleTime = 0) {
    auto& record = Describe<SingleRuntimeData>(inverter, std::move(format));
    DecodeSingle(inverter, payload.data(), payload.size(), sampleTime);
    return record;
}

TEST(SingleDecode, FullFieldListFillsEveryListedField) {
    CInverter inverter;
    const auto& record = DecodeAs(
        inverter, {0x00, 0x40, 0x41, 0x42, 0x43, 0x44, 0x45, 0x47, 0x48, 0x49, 0x4A, 0x4C, 0x0D},
        Payload({253, 3605, 52, 2301, 5002, 12345, 310, 0x0001, 0x86A0, 0x0002, 0x0003, 1, 1234}),
        SAMPLE_TIME);

    const FieldList expected = With(Fields(SingleRuntimeData{}), {{"m_tSample", SAMPLE_TIME},
                                                                  {"m_nTemp", 253},
                                                                  {"m_nVpv", 3605},
                                                                  {"m_nIac", 52},
                                                                  {"m_nVac", 2301},
                                                                  {"m_nFac", 5002},
                                                                  {"m_nPac", 12345},
                                                                  {"m_nZac", 310},
                                                                  {"m_dwETotal", 100000},
                                                                  {"m_dwHTotal", 0x20003},
                                                                  {"m_nMode", 1},
                                                                  {"m_nEToday", 1234}});
    EXPECT_EQ(Fields(record), expected);
    EXPECT_DOUBLE_EQ(record.GetOutputPower(), 1234.5);
    EXPECT_DOUBLE_EQ(record.GetETotal(), 10000.0);
    EXPECT_DOUBLE_EQ(record.GetEToday(), 12.34);
}

TEST(SingleDecode, TemperatureIsSignedAndGridCurrentUnsigned) {
    CInverter inverter;
    const auto& record = DecodeAs(inverter, {0x00, 0x41}, Payload({0xFFF6, 0xFFF6}));

    EXPECT_DOUBLE_EQ(record.m_nTemp * 0.1, -1.0);
    EXPECT_EQ(record.GetFieldValue(0x00), -10);
    EXPECT_DOUBLE_EQ(record.m_nIac * 0.1, 6552.6);
    EXPECT_EQ(record.GetFieldValue(0x41), 65526);
}

TEST(SingleDecode, ThirtyTwoBitFieldsCombineTheirHalves) {
    CInverter inverter;
    EXPECT_DOUBLE_EQ(DecodeAs(inverter, {0x47, 0x48}, Payload({0x0001, 0x86A0})).GetETotal(),
                     10000.0);
    EXPECT_DOUBLE_EQ(DecodeAs(inverter, {0x48}, Payload({0x86A0})).GetETotal(), 3446.4);
    EXPECT_EQ(DecodeAs(inverter, {0x48, 0x47}, Payload({0x86A0, 0x0001})).m_dwETotal, 100000U);
    EXPECT_EQ(DecodeAs(inverter, {0x49, 0x4A}, Payload({0x0002, 0x0003})).m_dwHTotal, 0x20003U);
    EXPECT_DOUBLE_EQ(DecodeAs(inverter, {0x47, 0x48}, Payload({0xFFFF, 0xFFFF})).GetETotal(),
                     429496729.5);
}

TEST(SingleDecode, WorkModeOutsideOneToThreeIsWait) {
    CInverter inverter;
    const std::map<std::uint16_t, int> modes{{0, 0}, {1, 1}, {2, 2},     {3, 3},
                                             {4, 0}, {5, 0}, {0xFFFF, 0}};
    for (const auto& [sent, stored] : modes) {
        EXPECT_EQ(DecodeAs(inverter, {0x4C}, Payload({sent})).m_nMode, stored) << sent;
    }
    EXPECT_EQ(DecodeAs(inverter, {0x4C, 0x4C}, Payload({2, 5})).m_nMode, 0);
}

TEST(SingleDecode, PvVoltageTakesTheLaterOfItsTwoIdentifiers) {
    CInverter inverter;
    const auto& both = DecodeAs(inverter, {0x01}, Payload({3000}));
    EXPECT_EQ(both.m_nVpv, 3000);
    EXPECT_EQ(both.m_nVpv1, 3000);

    const auto& later40 = DecodeAs(inverter, {0x01, 0x40}, Payload({3000, 3100}));
    EXPECT_EQ(later40.m_nVpv, 3100);
    EXPECT_EQ(later40.m_nVpv1, 3000);

    EXPECT_EQ(DecodeAs(inverter, {0x40, 0x01}, Payload({3100, 3000})).m_nVpv, 3000);
}

TEST(SingleDecode, EveryIdentifierLandsInItsFieldsOnly) {
    struct Target {
        std::vector<std::string> fields;
        std::int64_t stored;
    };
    const std::map<int, Target> table{
        {0x00, {{"m_nTemp"}, 0x1234}},
        {0x01, {{"m_nVpv", "m_nVpv1"}, 0x1234}},
        {0x02, {{"m_nVpv2"}, 0x1234}},
        {0x03, {{"m_nVpv3"}, 0x1234}},
        {0x04, {{"m_nIpv1"}, 0x1234}},
        {0x05, {{"m_nIpv2"}, 0x1234}},
        {0x06, {{"m_nIpv3"}, 0x1234}},
        {0x0D, {{"m_nEToday"}, 0x1234}},
        {0x39, {{"m_nFaultTemp"}, 0x1234}},
        {0x3A, {{"m_nFaultVpv"}, 0x1234}},
        {0x3D, {{"m_nFaultGfci"}, 0x1234}},
        {0x40, {{"m_nVpv"}, 0x1234}},
        {0x41, {{"m_nIac"}, 0x1234}},
        {0x42, {{"m_nVac"}, 0x1234}},
        {0x43, {{"m_nFac"}, 0x1234}},
        {0x44, {{"m_nPac"}, 0x1234}},
        {0x45, {{"m_nZac"}, 0x1234}},
        {0x47, {{"m_dwETotal"}, 0x12340000}},
        {0x48, {{"m_dwETotal"}, 0x1234}},
        {0x49, {{"m_dwHTotal"}, 0x12340000}},
        {0x4A, {{"m_dwHTotal"}, 0x1234}},
        {0x4C, {{"m_nMode"}, 0}},
        {0x78, {{"m_nFaultVac"}, 0x1234}},
        {0x79, {{"m_nFaultFac"}, 0x1234}},
        {0x7A, {{"m_nFaultZac"}, 0x1234}},
        {0x7B, {{"m_nFaultTemp"}, 0x1234}},
        {0x7C, {{"m_nFaultVpv"}, 0x1234}},
        {0x7D, {{"m_nFaultGfci"}, 0x1234}},
        {0x7E, {{"m_dwErrorBits"}, 0x12340000}},
        {0x7F, {{"m_dwErrorBits"}, 0x1234}},
    };
    CInverter inverter;
    for (int id = 0; id <= 0xFF; ++id) {
        const auto& record = DecodeAs(inverter, {static_cast<std::uint8_t>(id)}, Payload({0x1234}));
        const auto row = table.find(id);
        const FieldList expected =
            row == table.end()
                ? Fields(SingleRuntimeData{})
                : FieldsWith<SingleRuntimeData>(row->second.fields, row->second.stored);
        EXPECT_EQ(Fields(record), expected) << "identifier " << id;
    }
}

TEST(SingleDecode, PayloadAndFieldListLimitEachOther) {
    CInverter inverter;
    auto sevenBytes = Payload({11, 22, 33, 44});
    sevenBytes.resize(7);
    const auto& odd = DecodeAs(inverter, {0x41, 0x42, 0x43, 0x44}, sevenBytes);
    EXPECT_EQ(odd.m_nIac, 11);
    EXPECT_EQ(odd.m_nVac, 22);
    EXPECT_EQ(odd.m_nFac, 33);
    EXPECT_EQ(odd.m_nPac, 0);

    EXPECT_EQ(Fields(DecodeAs(inverter, {0x44}, Payload({50, 60, 70}))),
              FieldsWith<SingleRuntimeData>({"m_nPac"}, 50));
    EXPECT_EQ(Fields(DecodeAs(inverter, {0x44, 0x45}, {})), Fields(SingleRuntimeData{}));
}

TEST(SingleDecode, FieldsNotSentAreClearedAndHalvesDoNotMixWithTheLastSample) {
    CInverter inverter;
    auto& record = Describe<SingleRuntimeData>(inverter, {0x48, 0x7F});
    record.m_nPac = 999;
    record.m_nMode = 2;
    record.m_dwETotal = 0xFFFF0000U;
    record.m_dwErrorBits = 0x00FF00FFU;
    const auto payload = Payload({5, 1});

    DecodeSingle(inverter, payload.data(), payload.size(), SAMPLE_TIME);

    EXPECT_EQ(Fields(record),
              With(Fields(SingleRuntimeData{}),
                   {{"m_tSample", SAMPLE_TIME}, {"m_dwETotal", 5}, {"m_dwErrorBits", 1}}));
}

TEST(SingleDecode, ErrorBitsAreTracedAsTheyAccumulate) {
    ASSERT_TRUE(traceEnabled);
    CInverter inverter;
    testing::internal::CaptureStderr();
    const auto& record = DecodeAs(inverter, {0x7E, 0x44, 0x7F}, Payload({0x0001, 7, 0x8000}));
    const std::string trace = testing::internal::GetCapturedStderr();

    EXPECT_EQ(record.m_dwErrorBits, 0x00018000U);
    EXPECT_EQ(trace, "\n pInvData->emsg = 10000;  nValue = 0001\n"
                     "\n pInvData->emsg = 18000;  nValue = 8000\n");
}

TEST(RuntimeDecode, RecordOfTheOtherKindOrNoneIsLeftAlone) {
    CInverter inverter;
    const auto payload = Payload({0x1234});
    auto& three = Describe<ThreeRuntimeData>(inverter, {0x0B});
    DecodeSingle(inverter, payload.data(), payload.size(), SAMPLE_TIME);
    EXPECT_EQ(Fields(three), Fields(ThreeRuntimeData{}));

    auto& single = Describe<SingleRuntimeData>(inverter, {0x44});
    DecodeThree(inverter, payload.data(), payload.size(), SAMPLE_TIME);
    EXPECT_EQ(Fields(single), Fields(SingleRuntimeData{}));

    inverter.m_pRuntimeData.reset();
    DecodeSingle(inverter, payload.data(), payload.size(), SAMPLE_TIME);
    DecodeThree(inverter, payload.data(), payload.size(), SAMPLE_TIME);
    EXPECT_EQ(inverter.m_pRuntimeData, nullptr);
}

TEST(SingleRuntimeData, FieldValuesForTheHistory) {
    SingleRuntimeData record;
    record.m_nTemp = -10;
    record.m_nVpv = 3100;
    record.m_nVpv1 = 3001;
    record.m_nVpv2 = 3002;
    record.m_nVpv3 = 3003;
    record.m_nIpv1 = 41;
    record.m_nIpv2 = 42;
    record.m_nIpv3 = 43;
    record.m_nIac = 65526;
    record.m_nVac = 2301;
    record.m_nFac = 5002;
    record.m_nPac = 12345;
    record.m_nZac = 310;
    record.m_dwETotal = 100000;
    record.m_dwHTotal = 0x20003;
    record.m_nEToday = 1234;
    record.m_nMode = 2;
    record.m_dwErrorBits = 0x10;
    // The output power is offered under 0x0B, not under 0x44 that it came in.
    const std::map<int, std::int32_t> offered{
        {0x00, -10},  {0x01, 3001},  {0x02, 3002},   {0x03, 3003},   {0x04, 41},    {0x05, 42},
        {0x06, 43},   {0x0B, 12345}, {0x0D, 1234},   {0x40, 3100},   {0x41, 65526}, {0x42, 2301},
        {0x43, 5002}, {0x45, 310},   {0x48, 100000}, {0x4A, 0x20003}};
    for (int id = 0; id <= 0xFF; ++id) {
        const auto row = offered.find(id);
        EXPECT_EQ(record.GetFieldValue(id), row == offered.end() ? 0 : row->second)
            << "identifier " << id;
    }
}

} // namespace
