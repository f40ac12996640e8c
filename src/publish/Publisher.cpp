#include "Publisher.h"

#include "MessageComposer.h"

#include <algorithm>
#include <iterator>

namespace {
constexpr auto ANSWER_TIMEOUT = std::chrono::seconds(10);
constexpr auto GATHER_TIME = std::chrono::milliseconds(250);
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
    status.dropped = m_queue.Dropped();
    status.queued = m_queue.Size();
    return status;
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

// The thread is woken only when it waits for work: while it gathers a
// batch, or sends one, the message simply joins the queue.
void Publisher::Hand(Outbound item) {
    bool wake = false;
    {
        std::lock_guard lock(m_mutex);
        m_queue.Push(std::move(item));
        wake = m_idle;
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
    for (;;) {
        std::unique_lock lock(m_mutex);
        const auto ready = [this] {
            return Interrupted() || (!m_queue.Empty() && m_unsent < SEND_WINDOW);
        };
        if (!ready()) {
            m_idle = true;
            m_wake.wait(lock, ready);
            m_idle = false;
            // What arrives meanwhile goes out with it: one wake-up per batch
            // rather than several per message.
            m_wake.wait_for(lock, GATHER_TIME, [this] { return Interrupted(); });
        }
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
        std::vector<Outbound> batch;
        while (!m_queue.Empty() && m_unsent + static_cast<int>(batch.size()) < SEND_WINDOW) {
            batch.push_back(std::move(*m_queue.Pop()));
        }
        const std::uint64_t dropped = m_queue.Dropped();
        lock.unlock();
        // Composed first and handed over in one run, the batch wakes the
        // library's network thread as few times as it can.
        std::vector<MqttMessage> messages;
        for (Outbound& item : batch) {
            std::vector<MqttMessage> composed = composer.Compose(std::move(item), dropped);
            std::move(composed.begin(), composed.end(), std::back_inserter(messages));
        }
        Send(session, messages);
    }
}

bool Publisher::Interrupted() const {
    return m_stopping || m_link == Link::Failed || m_homeAssistantStarted;
}

bool Publisher::Send(MqttSession& session, const std::vector<MqttMessage>& messages) {
    for (const MqttMessage& message : messages) {
        int messageId = 0;
        if (!session.Publish(message, messageId)) {
            return false;
        }
        std::lock_guard lock(m_mutex);
        ++m_unsent;
    }
    return true;
}

bool Publisher::WaitForStop(std::chrono::seconds wait) {
    std::unique_lock lock(m_mutex);
    return m_wake.wait_for(lock, wait, [this] { return m_stopping; });
}

void Publisher::NoteConnected() {
    std::lock_guard lock(m_mutex);
    m_status.state = BrokerStatus::State::Connected;
    m_status.reason.clear();
    const std::uint64_t dropped = m_queue.Dropped();
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
        wake = m_idle && !m_queue.Empty();
    }
    if (wake) {
        m_wake.notify_all();
    }
}

void Publisher::OnSessionMessage(const std::string& topic, const std::string& payload) {
    if (topic != m_homeAssistantStatus || payload != "online") {
        return;
    }
    {
        std::lock_guard lock(m_mutex);
        m_homeAssistantStarted = true;
    }
    m_wake.notify_all();
}
