#pragma once

#include "BrokerStatus.h"
#include "MqttSession.h"
#include "OutboundQueue.h"
#include "SendFailures.h"
#include "Topics.h"
#include "comm/PollSink.h"
#include "store/MqttSettings.h"
#include "store/StationEvent.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class MessageComposer;

// Publishes the station to an MQTT broker: every decoded poll, every event
// and the plant totals, with Home Assistant discovery. The communication
// threads and the station's own thread only hand messages to a bounded
// queue, so a slow or absent broker never slows polling; a thread of its own
// connects, sends, and after a loss tries again after 1 s, doubling the wait
// up to 60 s. It listens for Home Assistant's restarts, for what an earlier
// run left on the broker, and for presses of the station's buttons.
class Publisher : public PollSink, public StationObserver, private SessionListener {
public:
    // Messages handed to the client library and not yet sent or acknowledged.
    static constexpr int SEND_WINDOW = 100;
    // Messages that make the thread send without waiting for more; once the
    // window is full, the thread goes on when this much of it has left.
    static constexpr int BATCH = SEND_WINDOW / 2;

    explicit Publisher(std::size_t capacity = OutboundQueue::DEFAULT_CAPACITY);
    ~Publisher() override;
    Publisher(const Publisher&) = delete;
    Publisher& operator=(const Publisher&) = delete;

    // Ends what runs and, when enabled, starts anew with these settings.
    void Configure(const MqttSettings& settings);
    // What "Reconnect all" does when commands are allowed; called on the
    // client library's thread.
    void OnReconnectAll(std::function<void()> reconnectAll);
    // Tells the broker the station goes offline and ends the thread.
    void Stop();

    BrokerStatus Status() const;
    // Queues an alert's JSON for the alert topic. Empty when it was queued on
    // a connection; otherwise why it cannot be sent now.
    std::string PublishAlert(std::string json);
    // Connections made and lost since the last call, oldest first.
    std::vector<BrokerChange> TakeChanges();

    // Any communication thread.
    void OnSampleDecoded(CInverter& inverter) override;
    // The thread that owns the document.
    void OnStationEvent(const StationEvent& event) override;
    void OnPlantTotals(const PlantTotals& totals) override;

private:
    void Hand(Outbound item);
    void Run(MqttSettings settings);
    std::string Connect(MqttSession& session);
    // Sends until the connection fails (its reason) or the station stops ("").
    std::string Serve(MqttSession& session, MessageComposer& composer);
    void WaitForBatch(std::unique_lock<std::mutex>& lock);
    // What the library will not take is counted as dropped; the connection's
    // own failure arrives through the session.
    void Send(MqttSession& session, const std::vector<MqttMessage>& messages);
    std::uint64_t Dropped() const;
    // Something other than messages to send needs the thread.
    bool Interrupted() const;
    bool BatchReady() const;
    // True when told to stop within the wait.
    bool WaitForStop(std::chrono::seconds wait);
    void NoteConnected();
    void NoteLost(const std::string& reason);
    void Note(BrokerChange change);

    void OnSessionConnected() override;
    void OnSessionFailed(const std::string& reason) override;
    void OnSessionPublished(int messageId) override;
    void OnSessionMessage(const std::string& topic, const std::string& payload,
                          bool retained) override;
    void TakeCommand(const std::string& topic, bool retained);
    void Subscribe(MqttSession& session, const Topics& topics) const;
    // What the broker kept from before, to be dealt with on the thread.
    void HandleLeftBehind(MqttSession& session, MessageComposer& composer);

    std::atomic<bool> m_enabled{false};
    std::thread m_thread;
    // Fixed while the thread runs.
    Topics m_topics{"", ""};
    bool m_discovery = false;
    bool m_commands = false;

    mutable std::mutex m_mutex; // guards everything below
    std::condition_variable m_wake;
    OutboundQueue m_queue;
    SendFailures m_sendFailures;
    bool m_stopping = false;
    // What the thread waits for, so that others wake it only when it is due.
    enum class Waiting { Nothing, Work, Batch, Room } m_waiting = Waiting::Nothing;
    enum class Link { Connecting, Connected, Failed } m_link = Link::Connecting;
    std::string m_failure;
    int m_unsent = 0; // handed to the library minus sent or acknowledged
    bool m_homeAssistantStarted = false;
    std::vector<std::string> m_leftOnline; // availability topics the broker shows online
    std::vector<MqttMessage> m_oldConfigs; // single-sensor configurations it keeps
    std::function<void()> m_reconnectAll;
    BrokerStatus m_status;
    std::uint64_t m_droppedReported = 0;
    std::deque<BrokerChange> m_changes;
};
