#pragma once

#include "MqttMessage.h"
#include "store/MqttSettings.h"

#include <atomic>
#include <mutex>
#include <string>

struct mosquitto;

// Hears from a session on the client library's network thread.
class SessionListener {
public:
    virtual ~SessionListener() = default;
    virtual void OnSessionConnected() = 0;
    // Refused, lost or never reached: why, in words. Told at most once.
    virtual void OnSessionFailed(const std::string& reason) = 0;
    // A message handed to Publish has left.
    virtual void OnSessionPublished(int messageId) = 0;
    // retained: kept by the broker from before the subscription.
    virtual void OnSessionMessage(const std::string& topic, const std::string& payload,
                                  bool retained) = 0;
};

// One connection to the broker, from the first attempt to its end; a new
// attempt is a new session. The library's own network thread carries it,
// and the broker's last will marks the station offline if it dies.
class MqttSession {
public:
    static constexpr int KEEP_ALIVE_S = 30;

    // willTopic: where the broker says "offline" if the connection dies; none
    // when empty.
    MqttSession(MqttSettings settings, std::string willTopic, SessionListener& listener);
    ~MqttSession();
    MqttSession(const MqttSession&) = delete;
    MqttSession& operator=(const MqttSession&) = delete;

    // Begins connecting. Empty when under way (the listener hears how it
    // ends); otherwise why it cannot, and nothing was started.
    std::string Start();
    // False when the client refuses the message (no connection).
    // Empty, or why the library would not take the message.
    [[nodiscard]] std::string Publish(const MqttMessage& message, int& messageId);
    bool Subscribe(const std::string& topic);
    // Disconnects and joins the network thread; no callback comes after.
    void Close();

private:
    std::string Configure();
    std::string ConnectProblem(int result, int error) const;
    std::string Where() const; // "host:port"
    bool Connected() const;
    void Fail(const std::string& reason);

    static void OnConnect(mosquitto* client, void* self, int result);
    static void OnDisconnect(mosquitto* client, void* self, int result);
    static void OnPublish(mosquitto* client, void* self, int messageId);
    static void OnMessage(mosquitto* client, void* self, const struct mosquitto_message* message);
    static void OnLog(mosquitto* client, void* self, int level, const char* text);

    MqttSettings m_settings;
    std::string m_willTopic;
    SessionListener& m_listener;
    mosquitto* m_client = nullptr;
    bool m_looping = false;
    std::atomic<bool> m_networkStarted{false};
    mutable std::mutex m_mutex; // guards the three below, set on the network thread
    bool m_connected = false;
    bool m_ended = false;
    std::string m_lastError;
};
