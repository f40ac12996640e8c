#include "Publisher.h"

#include "CommandVerdict.h"
#include "MessageComposer.h"
#include "platform/Log.h"

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
    m_oldConfigs.clear();
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
    m_topics = Topics(settings.topicPrefix, settings.discoveryPrefix);
    m_discovery = settings.discovery;
    m_commands = settings.commands;
    m_enabled = true;
    m_thread = std::thread(&Publisher::Run, this, settings);
}

void Publisher::OnReconnectAll(std::function<void()> reconnectAll) {
    std::lock_guard lock(m_mutex);
    m_reconnectAll = std::move(reconnectAll);
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
    MessageComposer composer(settings);
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

// What the broker kept from earlier runs comes back retained: inverters it
// still shows online, and the single-sensor configurations of earlier
// versions, which the device configurations replace.
void Publisher::Subscribe(MqttSession& session, const Topics& topics) const {
    if (m_discovery) {
        session.Subscribe(topics.HomeAssistantStatus());
        session.Subscribe(topics.AllSensorConfigs());
    }
    session.Subscribe(topics.AllAvailability());
    session.Subscribe(topics.AllCommands());
}

std::string Publisher::Serve(MqttSession& session, MessageComposer& composer) {
    Send(session, composer.Reconnected());
    Subscribe(session, composer.GetTopics());
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
        if (!m_leftOnline.empty() || !m_oldConfigs.empty()) {
            lock.unlock();
            HandleLeftBehind(session, composer);
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

void Publisher::HandleLeftBehind(MqttSession& session, MessageComposer& composer) {
    std::vector<std::string> leftOnline;
    std::vector<MqttMessage> oldConfigs;
    {
        std::lock_guard lock(m_mutex);
        leftOnline = std::exchange(m_leftOnline, {});
        oldConfigs = std::exchange(m_oldConfigs, {});
    }
    for (const std::string& topic : leftOnline) {
        composer.LeftOnline(topic);
    }
    std::vector<MqttMessage> removals;
    for (const MqttMessage& config : oldConfigs) {
        if (auto removal = composer.OldSensorConfig(config.topic, config.payload)) {
            removals.push_back(std::move(*removal));
        }
    }
    Send(session, removals);
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
    return m_stopping || m_link == Link::Failed || m_homeAssistantStarted ||
           !m_leftOnline.empty() || !m_oldConfigs.empty();
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

// Sorted by the subscription they came through; the topics are fixed while
// the thread runs.
void Publisher::OnSessionMessage(const std::string& topic, const std::string& payload,
                                 bool retained) {
    if (topic.rfind(m_topics.Command(""), 0) == 0) {
        TakeCommand(topic, retained);
        return;
    }
    {
        std::lock_guard lock(m_mutex);
        if (topic == m_topics.HomeAssistantStatus()) {
            m_homeAssistantStarted = m_homeAssistantStarted || payload == "online";
        } else if (!retained || payload.empty()) {
            return;
        } else if (topic.rfind(m_topics.DiscoveryPrefix() + "/sensor/", 0) == 0) {
            m_oldConfigs.push_back({topic, payload, true});
        } else if (payload == "online") {
            m_leftOnline.push_back(topic);
        }
    }
    m_wake.notify_all();
}

// Every command is logged with its topic, taken or not.
void Publisher::TakeCommand(const std::string& topic, bool retained) {
    const CommandVerdict verdict = JudgeCommand(m_topics, m_commands, topic, retained);
    Log(verdict.level, verdict.line);
    std::function<void()> reconnectAll;
    {
        std::lock_guard lock(m_mutex);
        reconnectAll = m_reconnectAll;
    }
    if (verdict.reconnectAll && reconnectAll) {
        reconnectAll();
    }
}
