#include "RuntimeRecordFields.h"
#include "comm/RuntimeDecode.h"
#include "model/Inverter.h"

#include <gtest/gtest.h>
#include <map>
#include <vector>

namespace {

ThreeRuntimeData& DecodeAs(CInverter& inverter, std::vector<std::uint8_t> format,
                           const std::vector<std::uint8_t>& payload) {
    auto& record = Describe<ThreeRuntimeData>(inverter, std::move(format));
    DecodeThree(inverter, payload.data(), payload.size(), 0);
    return record;
}

TEST(ThreeDecode, EveryIdentifierLandsInItsFieldsOnly) {
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
        {0x07, {{"m_dwETotal"}, 0x12340000}},
        {0x08, {{"m_dwETotal"}, 0x1234}},
        {0x09, {{"m_dwHTotal"}, 0x12340000}},
        {0x0A, {{"m_dwHTotal"}, 0x1234}},
        {0x0B, {{"m_nPac"}, 0x1234}},
        {0x0D, {{"m_nEToday"}, 0x1234}},
        {0x39, {{"m_nFaultTemp"}, 0x1234}},
        {0x3A, {{"m_nFaultVpv[0]"}, 0x1234}},
        {0x3B, {{"m_nFaultVpv[1]"}, 0x1234}},
        {0x3C, {{"m_nFaultVpv[2]"}, 0x1234}},
        {0x3D, {{"m_nFaultGfci"}, 0x1234}},
        {0x3E, {{"m_dwErrorBits"}, 0x1234}},
        {0x3F, {{"m_dwErrorBits"}, 0x12340000}},
        {0x40, {{"m_nVpv"}, 0x1234}},
        {0x41, {{"m_nIacPhase[0]"}, 0x1234}},
        {0x42, {{"m_nVacPhase[0]"}, 0x1234}},
        {0x43, {{"m_nFac", "m_nFacPhase[0]"}, 0x1234}},
        {0x44, {{"m_nPacPhase[0]"}, 0x1234}},
        {0x45, {{"m_nZac"}, 0x1234}},
        {0x46, {{"m_nIpv1"}, 0x1234}},
        {0x47, {{"m_dwETotalPhase[0]"}, 0x12340000}},
        {0x48, {{"m_dwETotalPhase[0]"}, 0x1234}},
        {0x4C, {{"m_nMode"}, 0}},
        {0x78, {{"m_nFaultVac[0]"}, 0x1234}},
        {0x79, {{"m_nFaultFac[0]"}, 0x1234}},
        {0x80, {{"m_nVpv2"}, 0x1234}},
        {0x81, {{"m_nIacPhase[1]"}, 0x1234}},
        {0x82, {{"m_nVacPhase[1]"}, 0x1234}},
        {0x83, {{"m_nFacPhase[1]"}, 0x1234}},
        {0x84, {{"m_nPacPhase[1]"}, 0x1234}},
        {0x86, {{"m_nIpv2"}, 0x1234}},
        {0x87, {{"m_dwETotalPhase[1]"}, 0x12340000}},
        {0x88, {{"m_dwETotalPhase[1]"}, 0x1234}},
        {0xB8, {{"m_nFaultVac[1]"}, 0x1234}},
        {0xB9, {{"m_nFaultFac[1]"}, 0x1234}},
        {0xC0, {{"m_nVpv3"}, 0x1234}},
        {0xC1, {{"m_nIacPhase[2]"}, 0x1234}},
        {0xC2, {{"m_nVacPhase[2]"}, 0x1234}},
        {0xC3, {{"m_nFacPhase[2]"}, 0x1234}},
        {0xC4, {{"m_nPacPhase[2]"}, 0x1234}},
        {0xC6, {{"m_nIpv3"}, 0x1234}},
        {0xC7, {{"m_dwETotalPhase[2]"}, 0x12340000}},
        {0xC8, {{"m_dwETotalPhase[2]"}, 0x1234}},
        {0xF8, {{"m_nFaultVac[2]"}, 0x1234}},
        {0xF9, {{"m_nFaultFac[2]"}, 0x1234}},
    };
    CInverter inverter;
    for (int id = 0; id <= 0xFF; ++id) {
        const auto& record = DecodeAs(inverter, {static_cast<std::uint8_t>(id)}, Payload({0x1234}));
        const auto row = table.find(id);
        const FieldList expected =
            row == table.end()
                ? Fields(ThreeRuntimeData{})
                : FieldsWith<ThreeRuntimeData>(row->second.fields, row->second.stored);
        EXPECT_EQ(Fields(record), expected) << "identifier " << id;
    }
}

TEST(ThreeDecode, PhaseTwoIdentifierIsSkippedOnlyBySinglePhase) {
    const std::vector<std::uint8_t> format{0x81, 0x44};
    const auto payload = Payload({52, 7000});

    CInverter single;
    auto& singleRecord = Describe<SingleRuntimeData>(single, format);
    DecodeSingle(single, payload.data(), payload.size(), 0);
    EXPECT_EQ(Fields(singleRecord), FieldsWith<SingleRuntimeData>({"m_nPac"}, 7000));

    CInverter three;
    const auto& threeRecord = DecodeAs(three, format, payload);
    EXPECT_EQ(Fields(threeRecord),
              With(Fields(ThreeRuntimeData{}), {{"m_nIacPhase[1]", 52}, {"m_nPacPhase[0]", 7000}}));
}

TEST(ThreeDecode, AccessorsReadPowerAndTheTotalEnergyCounter) {
    CInverter inverter;
    const auto& record = DecodeAs(inverter, {0x0B, 0x07, 0x08, 0x47, 0x48, 0x0D, 0x01, 0x02, 0x4C},
                                  Payload({45678, 0x0001, 0x86A0, 0, 500, 250, 3001, 3002, 3}));

    EXPECT_EQ(record.GetPhaseType(), 3);
    EXPECT_DOUBLE_EQ(record.GetOutputPower(), 4567.8);
    EXPECT_DOUBLE_EQ(record.GetETotal(), 10000.0);
    EXPECT_DOUBLE_EQ(record.GetEToday(), 2.5);
    EXPECT_DOUBLE_EQ(record.GetVpv1(), 300.1);
    EXPECT_DOUBLE_EQ(record.GetVpv2(), 300.2);
    EXPECT_EQ(record.m_nMode, 3);
    EXPECT_DOUBLE_EQ(DecodeAs(inverter, {0x07, 0x08}, Payload({0xFFFF, 0xFFFF})).GetETotal(),
                     429496729.5);
}

TEST(ThreeRuntimeData, FieldValuesForTheHistory) {
    ThreeRuntimeData record;
    record.m_nTemp = -10;
    record.m_nVpv = 3100;
    record.m_nVpv1 = 3001;
    record.m_nVpv2 = 3002;
    record.m_nVpv3 = 3003;
    record.m_nIpv1 = 41;
    record.m_nIpv2 = 42;
    record.m_nIpv3 = 43;
    record.m_nFac = 5002;
    record.m_nPac = 45678;
    record.m_nZac = 310;
    record.m_dwETotal = 500;
    record.m_dwHTotal = 0x20003;
    record.m_nEToday = 250;
    record.m_nIacPhase[0] = 51;
    record.m_nIacPhase[1] = 52;
    record.m_nIacPhase[2] = 53;
    record.m_nVacPhase[0] = 2301;
    record.m_nVacPhase[1] = 2302;
    record.m_nVacPhase[2] = 2303;
    record.m_nFacPhase[1] = 4999;
    record.m_nPacPhase[0] = 15000;
    record.m_dwETotalPhase[0] = 100000;
    const std::map<int, std::int32_t> offered{
        {0x00, -10},     {0x01, 3001}, {0x02, 3002},  {0x03, 3003}, {0x04, 41},
        {0x05, 42},      {0x06, 43},   {0x0B, 45678}, {0x0D, 250},  {0x40, 3100},
        {0x41, 51},      {0x42, 2301}, {0x43, 5002},  {0x45, 310},  {0x48, 500},
        {0x4A, 0x20003}, {0x81, 52},   {0xC1, 53},    {0x82, 2302}, {0xC2, 2303}};
    for (int id = 0; id <= 0xFF; ++id) {
        const auto row = offered.find(id);
        EXPECT_EQ(record.GetFieldValue(id), row == offered.end() ? 0 : row->second)
            << "identifier " << id;
    }
}

} // namespace
