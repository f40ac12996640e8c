#include "LiveStream.h"

namespace {
// How long a browser waits before it reconnects a broken stream.
constexpr const char* RETRY = "retry: 2000\n\n";
constexpr const char* RESYNC = "event: resync\ndata: {}\n\n";
} // namespace

LiveStream::LiveStream(LiveFeed& feed, std::atomic<int>& streams, const std::string& lastEventId)
    : m_feed(feed), m_streams(streams), m_greeting(RETRY) {
    ++m_streams;
    m_feed.Subscribe();
    const std::uint64_t latest = m_feed.Latest();
    m_sent = latest > 0 ? latest - 1 : 0;
    const std::string prefix = m_feed.Run() + "-";
    if (lastEventId.empty()) {
        return;
    }
    if (lastEventId.rfind(prefix, 0) == 0) {
        const std::uint64_t last = std::strtoull(lastEventId.c_str() + prefix.size(), nullptr, 10);
        if (last <= latest) {
            m_sent = last;
            return;
        }
    }
    m_greeting += RESYNC;
}

LiveStream::~LiveStream() {
    m_feed.Unsubscribe();
    --m_streams;
}

bool LiveStream::Read(std::string& out) {
    out += m_greeting;
    m_greeting.clear();
    std::vector<LiveFeed::Event> events;
    bool missed = false;
    if (!m_feed.Since(m_sent, events, missed)) {
        return false;
    }
    if (missed) {
        out += RESYNC;
        events.erase(events.begin(), events.end() - 1);
    }
    for (const LiveFeed::Event& event : events) {
        out += "id: " + m_feed.Run() + "-" + std::to_string(event.sequence) + "\ndata: ";
        out += *event.json;
        out += "\n\n";
        m_sent = event.sequence;
    }
    return true;
}

void LiveStream::WhenReady(std::function<void()> wake) {
    m_feed.WhenNewer(m_sent, std::move(wake));
}
