#include "publish/OutboundQueue.h"

#include <gtest/gtest.h>
#include <string>

namespace {

Outbound State(const std::string& serialNo) {
    StateSample sample;
    sample.serialNo = serialNo;
    return sample;
}

Outbound Event(int port) {
    StationEvent event;
    event.subject.comPort = port;
    return event;
}

std::string Drain(OutboundQueue& queue) {
    std::string order;
    while (auto item = queue.Pop()) {
        if (const auto* state = std::get_if<StateSample>(&*item)) {
            order += state->serialNo + " ";
        } else if (const auto* event = std::get_if<StationEvent>(&*item)) {
            order += "E" + std::to_string(event->subject.comPort) + " ";
        } else {
            order += "P ";
        }
    }
    return order;
}

TEST(OutboundQueueTest, WhenFullTheOldestMeasurementGoesAndEventsStay) {
    OutboundQueue queue(3);
    queue.Push(Event(1));
    queue.Push(State("S1"));
    queue.Push(PlantTotals{});
    queue.Push(Event(2));
    queue.Push(State("S2"));
    queue.Push(State("S3")); // S1 goes
    queue.Push(Event(3));
    queue.Push(State("S4")); // the plant totals go
    EXPECT_EQ(queue.Dropped(), 2U);
    EXPECT_EQ(Drain(queue), "E1 E2 S2 S3 E3 S4 ");
}

TEST(OutboundQueueTest, EventsAreKeptBeyondTheCapacityUpToTheirOwnBound) {
    OutboundQueue queue(1);
    for (std::size_t i = 0; i < OutboundQueue::EVENT_CAPACITY + 1; ++i) {
        queue.Push(Event(static_cast<int>(i)));
    }
    EXPECT_EQ(queue.Size(), OutboundQueue::EVENT_CAPACITY);
    EXPECT_EQ(queue.Dropped(), 1U);
    EXPECT_EQ(std::get<StationEvent>(*queue.Pop()).subject.comPort, 1);
}

} // namespace
