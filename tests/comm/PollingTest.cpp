#include "CommFixture.h"
#include "comm/PollSink.h"
#include "model/SingleRuntimeData.h"
#include "model/ThreeRuntimeData.h"

namespace {

class CountingSink : public PollSink {
public:
    void OnSampleDecoded(CInverter& inverter) override {
        ++calls;
        lastPower = inverter.m_pRuntimeData->GetOutputPower();
    }
    int calls = 0;
    double lastPower = 0;
};

class PollingTest : public CommFixture {};

TEST_F(PollingTest, DecodedSampleReachesTheSinkTheListAndTheDayCurve) {
    CountingSink sink;
    environment.sink = &sink;
    FakeInverter& fake = plant.Add("POLL");
    fake.runtimeValues = {0x30, 0x39, 0x01, 0x2C}; // 1234.5 W, 3.00 kWh
    RunFor(8);
    CInverter& inverter = *Inverter(0);
    ASSERT_GE(sink.calls, 2);
    EXPECT_DOUBLE_EQ(sink.lastPower, 1234.5);
    const auto* data = dynamic_cast<const SingleRuntimeData*>(inverter.m_pRuntimeData.get());
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->m_nPac, 12345);
    EXPECT_EQ(data->m_nEToday, 300);
    EXPECT_EQ(data->m_tSample / 10, clock.Now() / 10);
    EXPECT_EQ(inverter.m_powerGraph.SampleCount(), static_cast<std::size_t>(sink.calls));
    EXPECT_DOUBLE_EQ(inverter.m_powerGraph.Latest()->m_dValue, 1234.5);
    EXPECT_EQ(inverter.m_powerGraph.Latest()->m_time, data->m_tSample);
    // one at the end of the registration, one per successful poll
    EXPECT_EQ(list.Count(WM_INVERTER_UPDATED, &inverter), sink.calls + 1);
}

TEST_F(PollingTest, ThreePhaseOutputPowerIsCounted) {
    FakeInverter& fake = plant.Add("TRI", '3');
    fake.runtimeFormat = {0x0B, 0x44, 0x84, 0xC4};
    fake.runtimeValues = {0x75, 0x30, 0x27, 0x10, 0x27, 0x10, 0x27, 0x10};
    RunFor(5);
    CInverter& inverter = *Inverter(0);
    const auto* data = dynamic_cast<const ThreeRuntimeData*>(inverter.m_pRuntimeData.get());
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->m_nPacPhase[2], 10000);
    EXPECT_DOUBLE_EQ(data->GetOutputPower(), 3000.0);
    ASSERT_FALSE(inverter.m_powerGraph.Empty());
    EXPECT_DOUBLE_EQ(inverter.m_powerGraph.m_dMaxValue, 3000.0);
}

TEST_F(PollingTest, RejectedRepliesCountAsFailures) {
    FakeInverter& fake = plant.Add("ELSE");
    RunFor(4);
    CInverter& inverter = *Inverter(0);
    fake.replyDestination = 2;
    const std::size_t samples = inverter.m_powerGraph.SampleCount();
    RunFor(6);
    EXPECT_GE(inverter.m_nFailCount, 2);
    EXPECT_EQ(inverter.m_powerGraph.SampleCount(), samples);
    EXPECT_EQ(inverter.m_bOnline, 1);
    EXPECT_EQ(group.m_rejects.Of(ReplyCheck::NotForStation),
              static_cast<std::uint64_t>(inverter.m_nFailCount));
    fake.silent = true;
    RunFor(6);
    EXPECT_EQ(group.m_rejects.NonZero().size(), 1U) << "silence is not a rejected frame";
}

} // namespace
