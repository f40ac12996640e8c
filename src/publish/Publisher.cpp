#include "Publisher.h"

#include "MessageComposer.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace {
constexpr auto ANSWER_TIMEOUT = std::chrono::seconds(10);
constexpr auto GATHER_TIME = std::chrono::milliseconds(200);
constexpr auto FIRST_RETRY = std::chrono::seconds(1);
constexpr auto LAST_RETRY = std::chrono::seconds(60);
// Nobody may take the changes (a window shows only the state): keep the last.
constexpr std::size_t KEPT_CHANGES = 100;
} // namespace

Publisher::Publisher(std::size_t capacity) : m_queue(capacity) {}

Publisher::~Publisher() {
    Stop();
}

void Publisher::Configure(const MqttSettings& settings) {
    Stop();
    std::lock_guard lock(m_mutex);
    m_queue.Clear();
    m_leftOnline.clear();
    m_stopping = false;
    m_status = BrokerStatus{};
    if (!settings.enable) {
        return;
    }
    if (std::string problem = MqttSettingsProblem(settings); !problem.empty()) {
        m_status.state = BrokerStatus::State::Lost;
        m_status.reason = problem;
        Note({std::time(nullptr), false, problem, 0});
        return;
    }
    m_status.state = BrokerStatus::State::Connecting;
    m_homeAssistantStatus =
        settings.discovery
            ? Topics(settings.topicPrefix, settings.discoveryPrefix).HomeAssistantStatus()
            : "";
    m_enabled = true;
    m_thread = std::thread(&Publisher::Run, this, settings);
}

void Publisher::Stop() {
    m_enabled = false;
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_all();
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

BrokerStatus Publisher::Status() const {
    std::lock_guard lock(m_mutex);
    BrokerStatus status = m_status;
    status.dropped = Dropped();
    status.queued = m_queue.Size();
    return status;
}

std::string Publisher::PublishAlert(std::string json) {
    {
        std::lock_guard lock(m_mutex);
        if (!m_enabled) {
            return "publishing is off";
        }
        if (m_status.state != BrokerStatus::State::Connected) {
            return "the broker is not connected" +
                   (m_status.reason.empty() ? std::string() : ": " + m_status.reason);
        }
    }
    Hand(AlertPayload{std::move(json)});
    return {};
}

std::vector<BrokerChange> Publisher::TakeChanges() {
    std::lock_guard lock(m_mutex);
    std::vector<BrokerChange> changes(m_changes.begin(), m_changes.end());
    m_changes.clear();
    return changes;
}

void Publisher::OnSampleDecoded(CInverter& inverter) {
    if (m_enabled) {
        Hand(CaptureState(inverter));
    }
}

void Publisher::OnStationEvent(const StationEvent& event) {
    if (m_enabled) {
        Hand(event);
    }
}

void Publisher::OnPlantTotals(const PlantTotals& totals) {
    if (m_enabled) {
        Hand(totals);
    }
}

// The thread is woken only when it waits for work or for a batch that this
// message completes; otherwise the message simply joins the queue.
void Publisher::Hand(Outbound item) {
    bool wake = false;
    {
        std::lock_guard lock(m_mutex);
        m_queue.Push(std::move(item));
        wake = m_waiting == Waiting::Work || (m_waiting == Waiting::Batch && BatchReady());
        if (wake) {
            m_waiting = Waiting::Nothing;
        }
    }
    if (wake) {
        m_wake.notify_all();
    }
}

void Publisher::Run(MqttSettings settings) {
    MessageComposer composer(Topics(settings.topicPrefix, settings.discoveryPrefix),
                             settings.discovery);
    auto retry = FIRST_RETRY;
    for (;;) {
        MqttSession session(settings, composer.GetTopics().Status(), *this);
        std::string reason = Connect(session);
        if (reason.empty()) {
            retry = FIRST_RETRY;
            NoteConnected();
            reason = Serve(session, composer);
            if (reason.empty()) {
                Send(session, {composer.StationOffline()});
                return;
            }
        }
        session.Close();
        {
            std::lock_guard lock(m_mutex);
            if (m_stopping) {
                return;
            }
        }
        NoteLost(reason);
        if (WaitForStop(retry)) {
            return;
        }
        retry = std::min(retry * 2, LAST_RETRY);
    }
}

std::string Publisher::Connect(MqttSession& session) {
    {
        std::lock_guard lock(m_mutex);
        m_link = Link::Connecting;
        m_unsent = 0;
        m_status.state = BrokerStatus::State::Connecting;
    }
    if (std::string problem = session.Start(); !problem.empty()) {
        return problem;
    }
    std::unique_lock lock(m_mutex);
    if (!m_wake.wait_for(lock, ANSWER_TIMEOUT,
                         [this] { return m_stopping || m_link != Link::Connecting; })) {
        return "no answer from the broker within " + std::to_string(ANSWER_TIMEOUT.count()) + " s";
    }
    if (m_stopping) {
        return "the station stops";
    }
    return m_link == Link::Failed ? m_failure : std::string();
}

std::string Publisher::Serve(MqttSession& session, MessageComposer& composer) {
    if (!m_homeAssistantStatus.empty()) {
        session.Subscribe(m_homeAssistantStatus);
    }
    Send(session, composer.Reconnected());
    // What the broker still shows online from an earlier run comes back
    // retained; an inverter that has not answered since is told offline.
    session.Subscribe(composer.GetTopics().AllAvailability());
    std::vector<Outbound> batch;
    std::vector<MqttMessage> messages;
    for (;;) {
        std::unique_lock lock(m_mutex);
        WaitForBatch(lock);
        if (m_stopping) {
            return {};
        }
        if (m_link == Link::Failed) {
            return m_failure;
        }
        if (m_homeAssistantStarted) {
            m_homeAssistantStarted = false;
            lock.unlock();
            Send(session, composer.Discovery());
            continue;
        }
        if (!m_leftOnline.empty()) {
            const std::vector<std::string> topics = std::exchange(m_leftOnline, {});
            lock.unlock();
            std::vector<MqttMessage> corrections;
            for (const std::string& topic : topics) {
                if (auto correction = composer.LeftOnline(topic)) {
                    corrections.push_back(std::move(*correction));
                }
            }
            Send(session, corrections);
            continue;
        }
        batch.clear();
        while (!m_queue.Empty() && m_unsent + static_cast<int>(batch.size()) < SEND_WINDOW) {
            batch.push_back(std::move(*m_queue.Pop()));
        }
        const std::uint64_t dropped = Dropped();
        lock.unlock();
        // Composed first and handed over in one run, the batch wakes the
        // library's network thread as few times as it can.
        messages.clear();
        for (Outbound& item : batch) {
            std::vector<MqttMessage> composed = composer.Compose(std::move(item), dropped);
            std::move(composed.begin(), composed.end(), std::back_inserter(messages));
        }
        Send(session, messages);
    }
}

// State messages are gathered for a moment, so that the thread and the
// library's network thread wake a few times a second rather than for every
// poll; an event, a full batch or anything else that needs the thread ends
// the wait at once.
void Publisher::WaitForBatch(std::unique_lock<std::mutex>& lock) {
    if (!Interrupted() && m_unsent >= SEND_WINDOW) {
        m_waiting = Waiting::Room;
        m_wake.wait(lock, [this] { return Interrupted() || m_unsent <= SEND_WINDOW - BATCH; });
    }
    if (!Interrupted() && m_queue.Empty()) {
        m_waiting = Waiting::Work;
        m_wake.wait(lock, [this] { return Interrupted() || !m_queue.Empty(); });
    }
    if (!BatchReady()) {
        m_waiting = Waiting::Batch;
        m_wake.wait_for(lock, GATHER_TIME, [this] { return BatchReady(); });
    }
    m_waiting = Waiting::Nothing;
}

bool Publisher::Interrupted() const {
    return m_stopping || m_link == Link::Failed || m_homeAssistantStarted || !m_leftOnline.empty();
}

bool Publisher::BatchReady() const {
    return Interrupted() || m_queue.Events() > 0 ||
           m_queue.Size() >= static_cast<std::size_t>(BATCH);
}

// Counted as unsent before the library has them, so that its callback never
// counts below what was handed over.
void Publisher::Send(MqttSession& session, const std::vector<MqttMessage>& messages) {
    const int count = static_cast<int>(messages.size());
    {
        std::lock_guard lock(m_mutex);
        m_unsent += count;
    }
    for (int i = 0; i < count; ++i) {
        int messageId = 0;
        if (const std::string refused =
                session.Publish(messages[static_cast<std::size_t>(i)], messageId);
            !refused.empty()) {
            std::lock_guard lock(m_mutex);
            m_unsent -= count - i;
            m_sendFailures.Failed(static_cast<std::size_t>(count - i), refused);
            return;
        }
    }
    std::lock_guard lock(m_mutex);
    m_sendFailures.Succeeded();
}

// With m_mutex held.
std::uint64_t Publisher::Dropped() const {
    return m_queue.Dropped() + m_sendFailures.Dropped();
}

bool Publisher::WaitForStop(std::chrono::seconds wait) {
    std::unique_lock lock(m_mutex);
    return m_wake.wait_for(lock, wait, [this] { return m_stopping; });
}

void Publisher::NoteConnected() {
    std::lock_guard lock(m_mutex);
    m_status.state = BrokerStatus::State::Connected;
    m_status.reason.clear();
    const std::uint64_t dropped = Dropped();
    Note({std::time(nullptr), true, "", dropped - m_droppedReported});
    m_droppedReported = dropped;
}

// The same failure again and again, as while the broker stays away, is told
// once.
void Publisher::NoteLost(const std::string& reason) {
    std::lock_guard lock(m_mutex);
    const bool news = m_status.state == BrokerStatus::State::Connected || reason != m_status.reason;
    m_status.state = BrokerStatus::State::Lost;
    m_status.reason = reason;
    if (news) {
        Note({std::time(nullptr), false, reason, 0});
    }
}

void Publisher::Note(BrokerChange change) {
    m_changes.push_back(std::move(change));
    if (m_changes.size() > KEPT_CHANGES) {
        m_changes.pop_front();
    }
}

void Publisher::OnSessionConnected() {
    {
        std::lock_guard lock(m_mutex);
        m_link = Link::Connected;
    }
    m_wake.notify_all();
}

void Publisher::OnSessionFailed(const std::string& reason) {
    {
        std::lock_guard lock(m_mutex);
        m_link = Link::Failed;
        m_failure = reason;
    }
    m_wake.notify_all();
}

void Publisher::OnSessionPublished(int) {
    bool wake = false;
    {
        std::lock_guard lock(m_mutex);
        --m_unsent;
        wake = m_waiting == Waiting::Room && m_unsent <= SEND_WINDOW - BATCH;
        if (wake) {
            m_waiting = Waiting::Nothing;
        }
    }
    if (wake) {
        m_wake.notify_all();
    }
}

void Publisher::OnSessionMessage(const std::string& topic, const std::string& payload,
                                 bool retained) {
    {
        std::lock_guard lock(m_mutex);
        if (payload != "online") {
            return;
        }
        if (topic == m_homeAssistantStatus) {
            m_homeAssistantStarted = true;
        } else if (retained) {
            m_leftOnline.push_back(topic);
        } else {
            return;
        }
    }
    m_wake.notify_all();
}
