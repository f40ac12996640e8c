#include "AlertDispatcher.h"

#include "Outbox.h"
#include "platform/Clock.h"
#include "platform/Log.h"

#include <algorithm>
#include <chrono>

namespace {
constexpr std::time_t HOUSEKEEPING_PERIOD = 3600;
constexpr std::time_t KEEP_DAYS = 30;
constexpr std::size_t KEEP_SENT = 50;
constexpr std::time_t LONGEST_WAIT = 60;

void Earliest(std::optional<std::time_t>& next, std::optional<std::time_t> candidate) {
    if (candidate) {
        next = std::min(next.value_or(*candidate), *candidate);
    }
}
} // namespace

AlertDispatcher::~AlertDispatcher() {
    Stop();
}

void AlertDispatcher::SetChannels(std::vector<std::unique_ptr<AlertChannel>> channels) {
    std::lock_guard lock(m_mutex);
    m_stopping = false;
    m_lanes.clear();
    m_names.clear();
    for (auto& channel : channels) {
        m_names.push_back(channel->Name());
        m_lanes.push_back({std::move(channel)});
    }
}

std::vector<std::string> AlertDispatcher::ChannelNames() const {
    std::lock_guard lock(m_mutex);
    return m_names;
}

std::optional<std::time_t> AlertDispatcher::DeliverDue() {
    std::optional<std::time_t> next;
    GiveUpOld(m_clock.Now());
    for (Lane& lane : m_lanes) {
        Earliest(next, Serve(lane, m_clock.Now()));
    }
    return next;
}

std::optional<std::time_t> AlertDispatcher::Serve(Lane& lane, std::time_t now) {
    const std::string name = lane.channel->Name();
    if (now < lane.nextTry) {
        return lane.nextTry;
    }
    while (!Stopping()) {
        const std::optional<Alert> alert = m_outbox.NextDue(name, now);
        if (!alert) {
            return m_outbox.NextRelease(name, now);
        }
        const std::string problem = lane.channel->Deliver(*alert);
        now = m_clock.Now();
        if (!problem.empty()) {
            m_outbox.MarkFailed(alert->id, name, problem);
            Failed(lane, problem, now);
            return lane.nextTry;
        }
        m_outbox.MarkSent(alert->id, name, now);
        Delivered(lane);
    }
    return std::nullopt;
}

void AlertDispatcher::Delivered(Lane& lane) {
    const std::string name = lane.channel->Name();
    if (lane.backoff != 0) {
        Log(LogLevel::Info, "alerts: the " + name + " channel delivers again");
    }
    lane.backoff = 0;
    lane.nextTry = 0;
    std::lock_guard lock(m_mutex);
    ++m_counts[name].sent;
}

// Told when the channel starts to fail, not at every retry.
void AlertDispatcher::Failed(Lane& lane, const std::string& reason, std::time_t now) {
    const std::string name = lane.channel->Name();
    if (lane.backoff == 0) {
        Log(LogLevel::Warning, "alerts: the " + name + " channel cannot deliver: " + reason +
                                   "; its alerts wait and are tried again");
    }
    lane.backoff = lane.backoff == 0 ? FIRST_RETRY : std::min(lane.backoff * 2, LAST_RETRY);
    lane.nextTry = now + lane.backoff;
    std::lock_guard lock(m_mutex);
    ++m_counts[name].failed;
}

void AlertDispatcher::GiveUpOld(std::time_t now) {
    if (now < m_nextHousekeeping) {
        return;
    }
    m_nextHousekeeping = now + HOUSEKEEPING_PERIOD;
    if (const int given = m_outbox.GiveUpBefore(now - GIVE_UP_AFTER); given > 0) {
        Log(LogLevel::Error,
            "alerts: " + std::to_string(given) +
                " deliveries waited 7 days without getting through and are given up");
    }
    m_outbox.Prune(now - KEEP_DAYS * 24 * 3600, KEEP_SENT);
}

void AlertDispatcher::Start() {
    {
        std::lock_guard lock(m_mutex);
        m_stopping = false;
    }
    m_thread = std::thread(&AlertDispatcher::Run, this);
}

void AlertDispatcher::Stop() {
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    for (Lane& lane : m_lanes) {
        lane.channel->Cancel();
    }
    m_wake.notify_all();
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

void AlertDispatcher::Wake() {
    {
        std::lock_guard lock(m_mutex);
        m_woken = true;
    }
    m_wake.notify_all();
}

std::map<std::string, ChannelCounts> AlertDispatcher::Counts() const {
    std::lock_guard lock(m_mutex);
    return m_counts;
}

bool AlertDispatcher::Stopping() const {
    std::lock_guard lock(m_mutex);
    return m_stopping;
}

void AlertDispatcher::Run() {
    while (!Stopping()) {
        const std::optional<std::time_t> next = DeliverDue();
        const std::time_t now = m_clock.Now();
        const std::time_t wait =
            std::clamp<std::time_t>(next.value_or(now + LONGEST_WAIT) - now, 1, LONGEST_WAIT);
        std::unique_lock lock(m_mutex);
        m_wake.wait_for(lock, std::chrono::seconds(wait), [this] { return m_stopping || m_woken; });
        m_woken = false;
    }
}
