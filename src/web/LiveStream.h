#pragma once

#include "HttpMessage.h"
#include "LiveFeed.h"

#include <atomic>
#include <string>

// One client's live stream: each event of the feed once, in order, as
// Server-Sent Events. A client that fell behind further than the feed keeps,
// or reconnects across a restart, is told "resync" and sent the latest.
class LiveStream : public StreamBody {
public:
    // lastEventId: what the client's previous stream sent last, if any.
    LiveStream(LiveFeed& feed, std::atomic<int>& streams, const std::string& lastEventId);
    ~LiveStream() override;
    LiveStream(const LiveStream&) = delete;
    LiveStream& operator=(const LiveStream&) = delete;

    bool Read(std::string& out) override;
    void WhenReady(std::function<void()> wake) override;

private:
    LiveFeed& m_feed;
    std::atomic<int>& m_streams;
    std::uint64_t m_sent = 0;
    std::string m_greeting;
};
