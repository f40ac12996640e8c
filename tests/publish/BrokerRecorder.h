#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

struct mosquitto;

struct ReceivedMessage {
    std::string topic;
    std::string payload;
    bool retained = false;
};

// A subscriber to every topic of a test broker, as Home Assistant or
// Telegraf would be; it reconnects by itself when the broker comes back.
class BrokerRecorder {
public:
    explicit BrokerRecorder(int port);
    ~BrokerRecorder();
    BrokerRecorder(const BrokerRecorder&) = delete;
    BrokerRecorder& operator=(const BrokerRecorder&) = delete;

    // The first message from index from on that matches, within timeout.
    std::optional<ReceivedMessage> WaitFor(const std::function<bool(const ReceivedMessage&)>& match,
                                           std::chrono::milliseconds timeout, std::size_t from = 0);
    std::optional<ReceivedMessage> WaitFor(const std::string& topic,
                                           std::chrono::milliseconds timeout, std::size_t from = 0);
    void Publish(const std::string& topic, const std::string& payload, bool retain = false);
    std::vector<ReceivedMessage> Messages() const;
    std::size_t Count() const;

private:
    static void OnConnect(mosquitto* client, void* self, int result);
    static void OnMessage(mosquitto* client, void* self, const struct mosquitto_message* message);

    mosquitto* m_client;
    mutable std::mutex m_mutex;
    std::condition_variable m_arrived;
    std::vector<ReceivedMessage> m_messages;
};
