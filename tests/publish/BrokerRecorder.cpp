#include "BrokerRecorder.h"

#include <mosquitto.h>

BrokerRecorder::BrokerRecorder(int port) {
    mosquitto_lib_init();
    m_client = mosquitto_new(nullptr, true, this);
    mosquitto_connect_callback_set(m_client, &BrokerRecorder::OnConnect);
    mosquitto_message_callback_set(m_client, &BrokerRecorder::OnMessage);
    mosquitto_reconnect_delay_set(m_client, 1, 1, false);
    mosquitto_connect(m_client, "127.0.0.1", port, 30);
    mosquitto_loop_start(m_client);
}

BrokerRecorder::~BrokerRecorder() {
    mosquitto_disconnect(m_client);
    mosquitto_loop_stop(m_client, false);
    mosquitto_destroy(m_client);
}

void BrokerRecorder::OnConnect(mosquitto* client, void*, int result) {
    if (result == 0) {
        mosquitto_subscribe(client, nullptr, "#", 1);
    }
}

void BrokerRecorder::OnMessage(mosquitto*, void* self, const mosquitto_message* message) {
    auto* recorder = static_cast<BrokerRecorder*>(self);
    {
        std::lock_guard lock(recorder->m_mutex);
        recorder->m_messages.push_back({message->topic,
                                        std::string(static_cast<const char*>(message->payload),
                                                    static_cast<std::size_t>(message->payloadlen)),
                                        message->retain});
    }
    recorder->m_arrived.notify_all();
}

std::optional<ReceivedMessage>
BrokerRecorder::WaitFor(const std::function<bool(const ReceivedMessage&)>& match,
                        std::chrono::milliseconds timeout, std::size_t from) {
    std::unique_lock lock(m_mutex);
    std::optional<ReceivedMessage> found;
    m_arrived.wait_for(lock, timeout, [&] {
        for (; from < m_messages.size(); ++from) {
            if (match(m_messages[from])) {
                found = m_messages[from];
                return true;
            }
        }
        return false;
    });
    return found;
}

std::optional<ReceivedMessage> BrokerRecorder::WaitFor(const std::string& topic,
                                                       std::chrono::milliseconds timeout,
                                                       std::size_t from) {
    return WaitFor([&topic](const ReceivedMessage& message) { return message.topic == topic; },
                   timeout, from);
}

void BrokerRecorder::Publish(const std::string& topic, const std::string& payload, bool retain) {
    mosquitto_publish(m_client, nullptr, topic.c_str(), static_cast<int>(payload.size()),
                      payload.data(), 1, retain);
}

std::vector<ReceivedMessage> BrokerRecorder::Messages() const {
    std::lock_guard lock(m_mutex);
    return m_messages;
}

std::size_t BrokerRecorder::Count() const {
    std::lock_guard lock(m_mutex);
    return m_messages.size();
}
