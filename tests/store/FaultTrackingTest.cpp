#include "store/FaultTracking.h"

#include "HistLogFixture.h"
#include "model/Inverter.h"
#include "model/NoTime.h"
#include "model/SingleRuntimeData.h"
#include "model/ThreeRuntimeData.h"
#include "store/FaultRecordFile.h"
#include "store/FaultRecordReader.h"
#include "store/HistoryLine.h"
#include "store/StationPollSink.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace {

constexpr std::uint32_t BIT10 = 1U << 10;
constexpr std::uint32_t BIT13 = 1U << 13;

std::string Serial(const InvFaultRecord& record) {
    return std::string(record.serialNo.data(), strnlen(record.serialNo.data(), 16));
}

class FaultTrackingTest : public HistLogFixture {
protected:
    void SetUp() override {
        HistLogFixture::SetUp();
        m_inverter.m_strSerialNo = "INV-1";
    }

    void SampleSingle(std::time_t time, int mode, std::uint32_t errorBits) {
        auto data = std::make_unique<SingleRuntimeData>();
        data->m_tSample = time;
        data->m_nMode = mode;
        data->m_dwErrorBits = errorBits;
        data->m_nFaultGfci = 310;
        data->m_nFaultTemp = 851;
        m_inverter.m_pRuntimeData = std::move(data);
        TrackFaultsSingle(m_inverter);
    }

    void SampleThree(std::time_t time, int mode, std::uint32_t errorBits) {
        auto data = std::make_unique<ThreeRuntimeData>();
        data->m_tSample = time;
        data->m_nMode = mode;
        data->m_dwErrorBits = errorBits;
        data->m_nFaultGfci = 310;
        data->m_nFaultTemp = 851;
        m_inverter.m_pRuntimeData = std::move(data);
        TrackFaultsThree(m_inverter);
    }

    std::vector<InvFaultRecord> Records() const { return LoadFaultRecords(FaultRecordFilePath()); }

    CInverter m_inverter;
};

TEST_F(FaultTrackingTest, SinglePhaseBitChangeOpensNewRecordAndNormalModeClosesIt) {
    SampleSingle(1000, 2, BIT10);
    EXPECT_EQ(m_inverter.m_nFaultRecordIndex, 0);
    EXPECT_EQ(m_inverter.m_nLastMode, 2);
    EXPECT_EQ(m_inverter.m_dwErrorCode, BIT10);
    EXPECT_EQ(m_inverter.m_nErrorState, 2);

    SampleSingle(1002, 2, BIT10);
    EXPECT_EQ(Records().size(), 1U);

    SampleSingle(1004, 2, BIT13);
    EXPECT_EQ(m_inverter.m_nFaultRecordIndex, 1);

    SampleSingle(1006, 1, 0);
    EXPECT_EQ(m_inverter.m_dwErrorCode, 0U);
    EXPECT_EQ(m_inverter.m_nErrorState, 1);
    EXPECT_EQ(m_inverter.m_nLastMode, 1);
    EXPECT_EQ(m_inverter.m_faultRecord.errorBits, 0xFFFFFFFFU);

    const auto records = Records();
    ASSERT_EQ(records.size(), 2U);
    EXPECT_EQ(Serial(records[0]), "INV-1");
    EXPECT_EQ(records[0].mode, 2);
    EXPECT_EQ(records[0].errorBits, BIT10);
    EXPECT_EQ(records[0].value1, 310);
    EXPECT_EQ(records[0].startTime, 1000);
    EXPECT_EQ(records[0].endTime, g_tNoTime);
    EXPECT_EQ(records[1].errorBits, BIT13);
    EXPECT_EQ(records[1].value1, 851);
    EXPECT_EQ(records[1].startTime, 1004);
    EXPECT_EQ(records[1].endTime, 1006);
}

TEST_F(FaultTrackingTest, SinglePhaseSameBitsAfterCloseOpenANewRecord) {
    SampleSingle(1000, 2, BIT10);
    SampleSingle(1002, 0, 0);
    SampleSingle(1004, 3, BIT10);
    const auto records = Records();
    ASSERT_EQ(records.size(), 2U);
    EXPECT_EQ(records[1].mode, 3);
    EXPECT_EQ(records[1].endTime, g_tNoTime);
}

TEST_F(FaultTrackingTest, SinglePhaseErrorBitsWithoutFaultModeOnlySetTheErrorFields) {
    SampleSingle(1000, 1, BIT13);
    SampleSingle(1002, 0, 0);
    EXPECT_EQ(m_inverter.m_nErrorState, 1);
    SampleSingle(1004, 1, BIT13);
    EXPECT_EQ(m_inverter.m_nErrorState, 2);
    EXPECT_EQ(m_inverter.m_dwErrorCode, BIT13);
    EXPECT_FALSE(std::filesystem::exists(FaultRecordFilePath()));
}

TEST_F(FaultTrackingTest, ThreePhaseModeChangeOpensAndCloseKeepsTheBits) {
    SampleThree(2000, 2, BIT10);
    SampleThree(2002, 2, BIT13);
    EXPECT_EQ(Records().size(), 1U);
    SampleThree(2004, 3, BIT13);
    SampleThree(2006, 0, 0);
    EXPECT_EQ(m_inverter.m_faultRecord.errorBits, BIT13);
    EXPECT_EQ(m_inverter.m_nErrorState, 1);
    EXPECT_EQ(m_inverter.m_dwErrorCode, 0U);

    const auto records = Records();
    ASSERT_EQ(records.size(), 2U);
    EXPECT_EQ(records[0].errorBits, BIT10);
    EXPECT_EQ(records[0].endTime, g_tNoTime);
    EXPECT_EQ(records[1].mode, 3);
    EXPECT_EQ(records[1].errorBits, BIT13);
    EXPECT_EQ(records[1].startTime, 2004);
    EXPECT_EQ(records[1].endTime, 2006);
}

TEST_F(FaultTrackingTest, ThreePhaseFirstFaultAfterStartOpensARecord) {
    SampleThree(2000, 2, 0);
    EXPECT_EQ(m_inverter.m_nErrorState, 1); // a fault mode without error bits
    EXPECT_EQ(Records().size(), 1U);
    EXPECT_EQ(m_inverter.m_nFaultRecordIndex, 0);
}

TEST_F(FaultTrackingTest, CloseOfAnUnstoredRecordAppendsIt) {
    std::filesystem::remove(HistLog());
    WriteFile(HistLog(), ""); // a file in the folder's place
    SampleSingle(1000, 2, BIT10);
    EXPECT_EQ(m_inverter.m_nFaultRecordIndex, -1);
    std::filesystem::remove(HistLog());
    StoreFaultRecord(InvFaultRecord{}, -1);
    SampleSingle(1010, 1, 0);
    const auto records = Records();
    ASSERT_EQ(records.size(), 2U);
    EXPECT_EQ(records[1].startTime, 1000);
    EXPECT_EQ(records[1].endTime, 1010);
}

TEST_F(FaultTrackingTest, RuntimeDataOfTheOtherKindIsIgnored) {
    m_inverter.m_pRuntimeData = std::make_unique<ThreeRuntimeData>();
    TrackFaultsSingle(m_inverter);
    m_inverter.m_pRuntimeData.reset();
    TrackFaultsSingle(m_inverter);
    TrackFaultsThree(m_inverter);
    EXPECT_EQ(m_inverter.m_nErrorState, 0);
    EXPECT_EQ(m_inverter.m_nLastMode, 0);
}

TEST_F(FaultTrackingTest, SerialNumberIsCutToSixteenBytes) {
    m_inverter.m_strSerialNo = "ABCDEFGHIJKLMNOPQRS";
    SampleSingle(1000, 2, BIT10);
    const auto records = Records();
    ASSERT_EQ(records.size(), 1U);
    EXPECT_EQ(std::string(records[0].serialNo.data(), 16), "ABCDEFGHIJKLMNOP");
}

TEST(CaptureFaultValues, SinglePhaseValueByLowestBit) {
    SingleRuntimeData data;
    data.m_nFaultZac = 1;
    data.m_nFaultGfci = 2;
    data.m_nFaultTemp = 3;
    data.m_nFaultVpv = 4;
    data.m_nFaultVac = 5;
    data.m_nFaultFac = 6;
    const std::pair<int, std::uint16_t> cases[] = {{8, 1},  {26, 1}, {27, 1}, {10, 2},
                                                   {13, 3}, {15, 4}, {16, 5}, {17, 5},
                                                   {28, 6}, {29, 6}, {0, 99}, {31, 99}};
    CInverter inverter;
    inverter.m_pRuntimeData = std::make_unique<SingleRuntimeData>(data);
    for (const auto& [bit, value] : cases) {
        inverter.m_faultRecord = InvFaultRecord{};
        inverter.m_faultRecord.value1 = 99;
        inverter.m_faultRecord.errorBits = (1U << bit) | (1U << 30);
        CaptureFaultValues(inverter);
        EXPECT_EQ(inverter.m_faultRecord.value1, value) << bit;
        EXPECT_EQ(inverter.m_faultRecord.value2, 0) << bit;
    }
}

TEST(CaptureFaultValues, ThreePhaseValuesByLowestBit) {
    ThreeRuntimeData data;
    data.m_nFaultGfci = 2;
    data.m_nFaultTemp = 3;
    data.m_nFaultVpv[0] = 41;
    data.m_nFaultVpv[1] = 42;
    data.m_nFaultVpv[2] = 43;
    data.m_nFaultVac[2] = 53;
    data.m_nFaultFac[2] = 63;
    CInverter inverter;
    inverter.m_pRuntimeData = std::make_unique<ThreeRuntimeData>(data);
    const auto capture = [&](int bit) {
        inverter.m_faultRecord = InvFaultRecord{};
        inverter.m_faultRecord.value2 = 99;
        inverter.m_faultRecord.errorBits = 1U << bit;
        CaptureFaultValues(inverter);
        const InvFaultRecord& r = inverter.m_faultRecord;
        return std::array<int, 3>{r.value1, r.value2, r.value3};
    };
    EXPECT_EQ(capture(10), (std::array<int, 3>{2, 99, 0}));
    EXPECT_EQ(capture(13), (std::array<int, 3>{3, 99, 0}));
    EXPECT_EQ(capture(15), (std::array<int, 3>{41, 42, 43}));
    EXPECT_EQ(capture(17)[2], 53);
    EXPECT_EQ(capture(28)[2], 63);
    EXPECT_EQ(capture(8), (std::array<int, 3>{0, 99, 0}));
}

TEST_F(FaultTrackingTest, PollSinkTracksFaultsThenWritesHistoryByPhaseType) {
    StationPollSink sink;
    m_inverter.m_nPhaseType = 1;
    auto single = std::make_unique<SingleRuntimeData>();
    single->m_nMode = 2;
    single->m_dwErrorBits = BIT10;
    m_inverter.m_pRuntimeData = std::move(single);
    sink.OnSampleDecoded(m_inverter);
    EXPECT_EQ(Records().size(), 1U);
    EXPECT_EQ(ReadFile(InHistLog("INV-1.csv")).substr(0, SINGLE_HISTORY_HEADER.size()),
              SINGLE_HISTORY_HEADER);

    m_inverter.m_strSerialNo = "INV-3";
    m_inverter.m_nPhaseType = 3;
    m_inverter.m_pRuntimeData = std::make_unique<ThreeRuntimeData>();
    sink.OnSampleDecoded(m_inverter);
    EXPECT_EQ(ReadFile(InHistLog("INV-3.csv")).substr(0, THREE_HISTORY_HEADER.size()),
              THREE_HISTORY_HEADER);

    m_inverter.m_strSerialNo = "INV-0";
    m_inverter.m_nPhaseType = 0;
    sink.OnSampleDecoded(m_inverter);
    EXPECT_FALSE(std::filesystem::exists(InHistLog("INV-0.csv")));
}

} // namespace
