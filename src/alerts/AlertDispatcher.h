#pragma once

#include "AlertChannel.h"
#include "ChannelCounts.h"

#include <condition_variable>
#include <ctime>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

class Clock;
class Outbox;

// Takes alerts out of the outbox channel by channel, oldest first. A
// channel that fails waits 30 s before the next try, doubling up to 5 min,
// and its failure is told once until it delivers again. Alerts not
// delivered within 7 days are given up, with an error. Runs on a thread of
// its own, or step by step under a test's virtual clock.
class AlertDispatcher {
public:
    static constexpr std::time_t FIRST_RETRY = 30;
    static constexpr std::time_t LAST_RETRY = 300;
    static constexpr std::time_t GIVE_UP_AFTER = 7 * 24 * 3600;

    AlertDispatcher(Outbox& outbox, Clock& clock) : m_outbox(outbox), m_clock(clock) {}
    ~AlertDispatcher();
    AlertDispatcher(const AlertDispatcher&) = delete;
    AlertDispatcher& operator=(const AlertDispatcher&) = delete;

    // While stopped; a stopped dispatcher delivers again.
    void SetChannels(std::vector<std::unique_ptr<AlertChannel>> channels);
    std::vector<std::string> ChannelNames() const;

    // Delivers whatever is due now on every channel; when something is due
    // next, if anything waits.
    std::optional<std::time_t> DeliverDue();
    void Start();
    // Ends a delivery under way at once and joins the thread.
    void Stop();
    void Wake();

    // By channel name, every channel that has been used.
    std::map<std::string, ChannelCounts> Counts() const;

private:
    struct Lane {
        std::unique_ptr<AlertChannel> channel;
        std::time_t nextTry = 0;
        std::time_t backoff = 0;
    };

    std::optional<std::time_t> Serve(Lane& lane, std::time_t now);
    void Delivered(Lane& lane);
    void Failed(Lane& lane, const std::string& reason, std::time_t now);
    void GiveUpOld(std::time_t now);
    void Run();
    bool Stopping() const;

    Outbox& m_outbox;
    Clock& m_clock;
    std::vector<Lane> m_lanes;
    std::time_t m_nextHousekeeping = 0;
    std::thread m_thread;

    mutable std::mutex m_mutex; // guards the members below
    std::condition_variable m_wake;
    bool m_stopping = false;
    bool m_woken = false;
    std::map<std::string, ChannelCounts> m_counts;
    std::vector<std::string> m_names; // of the lanes, for other threads
};
