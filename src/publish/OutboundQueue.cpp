#include "OutboundQueue.h"

#include <algorithm>

namespace {
bool IsEvent(const Outbound& item) {
    return std::holds_alternative<StationEvent>(item) || std::holds_alternative<AlertPayload>(item);
}
} // namespace

void OutboundQueue::Push(Outbound item) {
    const bool event = IsEvent(item);
    if (event ? m_events >= EVENT_CAPACITY : m_items.size() - m_events >= m_capacity) {
        DropOldest(event);
    }
    m_events += event ? 1 : 0;
    m_items.push_back(std::move(item));
}

std::optional<Outbound> OutboundQueue::Pop() {
    if (m_items.empty()) {
        return std::nullopt;
    }
    Outbound item = std::move(m_items.front());
    m_items.pop_front();
    m_events -= IsEvent(item) ? 1 : 0;
    return item;
}

void OutboundQueue::Clear() {
    m_items.clear();
    m_events = 0;
}

void OutboundQueue::DropOldest(bool event) {
    const auto oldest = std::find_if(m_items.begin(), m_items.end(), [event](const Outbound& item) {
        return IsEvent(item) == event;
    });
    if (oldest != m_items.end()) {
        m_items.erase(oldest);
        m_events -= event ? 1 : 0;
        ++m_dropped;
    }
}
