#include "SendFailures.h"

#include "platform/Log.h"

void SendFailures::Failed(std::size_t messages, const std::string& reason) {
    m_dropped += messages;
    if (!m_failing) {
        Log(LogLevel::Warning, "MQTT: the client library refused " + std::to_string(messages) +
                                   " messages (" + reason + "); they are dropped");
    }
    m_failing = true;
}
