#include "comm/RuntimeDecode.h"
#include "model/InverterGroup.h"
#include "model/SingleRuntimeData.h"

#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <string>
#include <thread>

namespace {

constexpr int ITERATIONS = 3000;
constexpr std::size_t LIVE_INVERTERS = 5;

struct SharedRun {
    CInverterGroup group;
    std::atomic<bool> done{false};
    std::atomic<int> samplesSeen{0};
};

// Halfway through, the bus side waits until the views have seen a sample, so
// that both sides are known to have overlapped.
void WaitForTheViews(const SharedRun& run) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (run.samplesSeen == 0 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::yield();
    }
}

// The communication thread's side: register, describe, poll and remove.
void RunBus(SharedRun& run) {
    CInverterGroup& group = run.group;
    for (int i = 1; i <= ITERATIONS; ++i) {
        auto created = group.CreateInverter(static_cast<std::uint8_t>(i % 20 + 1));
        ASSERT_NE(created, nullptr);
        created->m_strSerialNo = "SN" + std::to_string(i);
        created->m_runtimeFormat = {0x44, 0x41};
        created->m_pRuntimeData = std::make_unique<SingleRuntimeData>();
        CInverter* inverter = group.AppendInverter(std::move(created));

        const auto value = static_cast<std::uint8_t>(i);
        const std::uint8_t payload[] = {0, value, 0, value};
        DecodeSingle(*inverter, payload, sizeof payload, i);
        {
            auto lock = group.Lock();
            inverter->m_strModel = "Model " + std::to_string(i);
            inverter->m_powerGraph.AddSample(CGraphSample{i, value * 0.1});
        }
        if (group.m_inverters.size() > LIVE_INVERTERS) {
            group.RemoveInverter(group.m_inverters.front().get());
        }
        if (i == ITERATIONS / 2) {
            WaitForTheViews(run);
        }
    }
}

// The user interface's side: walk the list and read what the views show.
// Like a window it rests between walks: a reader that takes the lock back at
// once can starve the bus thread for minutes under a sanitizer.
void ReadViews(SharedRun& run) {
    const CInverterGroup& group = run.group;
    for (; !run.done; std::this_thread::sleep_for(std::chrono::microseconds(50))) {
        auto lock = group.Lock();
        for (const auto& inverter : group.m_inverters) {
            const std::string label = inverter->m_strSerialNo + " " + inverter->m_strModel;
            EXPECT_EQ(label.rfind("SN", 0), 0U);
            double drawn = 0;
            inverter->m_powerGraph.ForEachVertex(
                [&](const CCurveVertex& vertex) { drawn += vertex.m_dValue; });
            EXPECT_GE(drawn, 0);
            const RuntimeData& data = *inverter->m_pRuntimeData;
            // Power and current were sent equal: a torn copy would split them.
            EXPECT_EQ(data.GetFieldValue(0x0B), data.GetFieldValue(0x41));
            if (data.GetSampleTime() != 0) {
                ++run.samplesSeen;
            }
        }
    }
}

TEST(GroupConcurrency, ViewsReadWhileTheBusThreadRegistersPollsAndRemoves) {
    SharedRun run;
    std::thread views([&run] { ReadViews(run); });
    RunBus(run);
    run.done = true;
    views.join();

    EXPECT_EQ(run.group.m_inverters.size(), LIVE_INVERTERS);
    EXPECT_GT(run.samplesSeen, 0);
}

} // namespace
