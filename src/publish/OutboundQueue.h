#pragma once

#include "AlertPayload.h"
#include "StateSample.h"
#include "store/PlantTotals.h"
#include "store/StationEvent.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <variant>

using Outbound = std::variant<StateSample, StationEvent, PlantTotals, AlertPayload>;

// What the station's threads hand to the publisher, oldest first. Bounded:
// past its capacity the oldest state or plant message goes and is counted;
// events and alerts are kept up to a bound of their own, far above what a plant raises
// in a day. Not locked: its owner guards it.
class OutboundQueue {
public:
    static constexpr std::size_t DEFAULT_CAPACITY = 1024;
    static constexpr std::size_t EVENT_CAPACITY = 10000;

    explicit OutboundQueue(std::size_t capacity = DEFAULT_CAPACITY) : m_capacity(capacity) {}

    void Push(Outbound item);
    std::optional<Outbound> Pop();
    bool Empty() const { return m_items.empty(); }
    std::size_t Size() const { return m_items.size(); }
    std::size_t Events() const { return m_events; }
    void Clear();
    // Messages let go since the queue was made.
    std::uint64_t Dropped() const { return m_dropped; }

private:
    void DropOldest(bool event);

    std::deque<Outbound> m_items;
    std::size_t m_capacity;
    std::size_t m_events = 0;
    std::uint64_t m_dropped = 0;
};
