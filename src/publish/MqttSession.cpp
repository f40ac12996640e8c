#include "MqttSession.h"

#include "TlsFailure.h"
#include "platform/FirstLine.h"
#include "platform/SystemError.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <mosquitto.h>
#include <netdb.h>

namespace {
std::once_flag g_libraryReady;

std::string ErrnoText(int error) {
    return std::strerror(error);
}

// A file the client will need, checked here so the reason names it.
std::string UnreadableFile(const char* what, const std::string& path) {
    std::ifstream file(path);
    if (file) {
        return {};
    }
    return SystemError(std::string("cannot read ") + what + " " + path, errno);
}

std::string RefusalText(int result) {
    std::string text = mosquitto_connack_string(result);
    const std::string prefix = "Connection Refused: ";
    if (text.rfind(prefix, 0) == 0) {
        text.erase(0, prefix.size());
    }
    if (!text.empty() && text.back() == '.') {
        text.pop_back();
    }
    return "the broker refused the connection: " + text;
}
} // namespace

MqttSession::MqttSession(MqttSettings settings, std::string willTopic, SessionListener& listener)
    : m_settings(std::move(settings)), m_willTopic(std::move(willTopic)), m_listener(listener) {
    std::call_once(g_libraryReady, [] { mosquitto_lib_init(); });
}

MqttSession::~MqttSession() {
    Close();
    if (m_client != nullptr) {
        mosquitto_destroy(m_client);
    }
}

std::string MqttSession::Start() {
    if (std::string problem = MqttSettingsProblem(m_settings); !problem.empty()) {
        return problem;
    }
    if (std::string problem = Configure(); !problem.empty()) {
        return problem;
    }
    errno = 0;
    const int result =
        mosquitto_connect_async(m_client, m_settings.host.c_str(), m_settings.port, KEEP_ALIVE_S);
    if (result != MOSQ_ERR_SUCCESS) {
        return ConnectProblem(result, errno);
    }
    m_networkStarted = true;
    if (const int started = mosquitto_loop_start(m_client); started != MOSQ_ERR_SUCCESS) {
        return std::string("cannot start the network thread: ") + mosquitto_strerror(started);
    }
    m_looping = true;
    return {};
}

std::string MqttSession::Configure() {
    const std::string clientId =
        m_settings.clientId.empty() ? DefaultClientId() : m_settings.clientId;
    m_client = mosquitto_new(clientId.c_str(), true, this);
    if (m_client == nullptr) {
        return "cannot create the MQTT client: " + ErrnoText(errno);
    }
    mosquitto_connect_callback_set(m_client, &MqttSession::OnConnect);
    mosquitto_disconnect_callback_set(m_client, &MqttSession::OnDisconnect);
    mosquitto_publish_callback_set(m_client, &MqttSession::OnPublish);
    mosquitto_message_callback_set(m_client, &MqttSession::OnMessage);
    mosquitto_log_callback_set(m_client, &MqttSession::OnLog);
    if (!m_settings.user.empty()) {
        std::string password = m_settings.password;
        if (!m_settings.passwordFile.empty()) {
            if (std::string problem = UnreadableFile("password file", m_settings.passwordFile);
                !problem.empty()) {
                return problem;
            }
            const Outcome<std::string> line = ReadFirstLine(m_settings.passwordFile);
            if (!line) {
                return line.Reason();
            }
            password = *line;
        }
        mosquitto_username_pw_set(m_client, m_settings.user.c_str(),
                                  password.empty() ? nullptr : password.c_str());
    }
    if (m_settings.tls) {
        if (!m_settings.caFile.empty()) {
            if (std::string problem = UnreadableFile("CA file", m_settings.caFile);
                !problem.empty()) {
                return problem;
            }
        }
        const int result = mosquitto_tls_set(
            m_client, m_settings.caFile.empty() ? nullptr : m_settings.caFile.c_str(),
            m_settings.caFile.empty() ? "/etc/ssl/certs" : nullptr, nullptr, nullptr, nullptr);
        if (result != MOSQ_ERR_SUCCESS) {
            return std::string("TLS cannot be set up: ") + mosquitto_strerror(result);
        }
    }
    if (!m_willTopic.empty()) {
        static constexpr char OFFLINE[] = "offline";
        mosquitto_will_set(m_client, m_willTopic.c_str(), sizeof OFFLINE - 1, OFFLINE, 1, true);
    }
    return {};
}

std::string MqttSession::Where() const {
    return m_settings.host + ":" + std::to_string(m_settings.port);
}

bool MqttSession::Connected() const {
    std::lock_guard lock(m_mutex);
    return m_connected;
}

std::string MqttSession::ConnectProblem(int result, int error) const {
    const std::string where = Where();
    switch (result) {
    case MOSQ_ERR_EAI: return "unknown host " + m_settings.host + " (" + gai_strerror(error) + ")";
    case MOSQ_ERR_ERRNO: return "cannot connect to " + where + ": " + ErrnoText(error);
    case MOSQ_ERR_TLS: {
        std::lock_guard lock(m_mutex);
        return TlsFailureText(m_settings.host, m_settings.port, m_settings.caFile, m_lastError);
    }
    default: return "cannot connect to " + where + ": " + mosquitto_strerror(result);
    }
}

std::string MqttSession::Publish(const MqttMessage& message, int& messageId) {
    const int result = mosquitto_publish(m_client, &messageId, message.topic.c_str(),
                                         static_cast<int>(message.payload.size()),
                                         message.payload.data(), 0, message.retain);
    return result == MOSQ_ERR_SUCCESS ? std::string() : mosquitto_strerror(result);
}

bool MqttSession::Subscribe(const std::string& topic) {
    return mosquitto_subscribe(m_client, nullptr, topic.c_str(), 1) == MOSQ_ERR_SUCCESS;
}

void MqttSession::Close() {
    if (!m_looping) {
        return;
    }
    {
        std::lock_guard lock(m_mutex);
        m_ended = true;
    }
    mosquitto_disconnect(m_client);
    mosquitto_loop_stop(m_client, false);
    m_looping = false;
}

void MqttSession::Fail(const std::string& reason) {
    {
        std::lock_guard lock(m_mutex);
        if (m_ended) {
            return;
        }
        m_ended = true;
    }
    m_listener.OnSessionFailed(reason);
}

void MqttSession::OnConnect(mosquitto*, void* self, int result) {
    auto* session = static_cast<MqttSession*>(self);
    if (result != 0) {
        session->Fail(RefusalText(result));
        return;
    }
    {
        std::lock_guard lock(session->m_mutex);
        session->m_connected = true;
    }
    session->m_listener.OnSessionConnected();
}

// Ending the session here keeps the library from reconnecting on its own:
// the publisher decides when to try again, and says why it lost the link.
void MqttSession::OnDisconnect(mosquitto* client, void* self, int result) {
    const int error = errno;
    auto* session = static_cast<MqttSession*>(self);
    mosquitto_disconnect(client);
    std::string reason = "the broker closed the connection";
    if (result == MOSQ_ERR_CONN_LOST && !session->Connected() && !session->m_settings.tls) {
        reason = "cannot connect to " + session->Where() +
                 ": the broker closed the connection without answering (a TLS port needs Tls=1)";
    } else if (result == MOSQ_ERR_ERRNO) {
        reason = "connection lost: " + ErrnoText(error);
    } else if (result == MOSQ_ERR_KEEPALIVE) {
        reason = "no answer from the broker within the keep-alive time";
    } else if (result != MOSQ_ERR_SUCCESS) {
        reason = std::string("connection lost: ") + mosquitto_strerror(result);
    }
    session->Fail(reason);
}

void MqttSession::OnPublish(mosquitto*, void* self, int messageId) {
    static_cast<MqttSession*>(self)->m_listener.OnSessionPublished(messageId);
}

void MqttSession::OnMessage(mosquitto*, void* self, const mosquitto_message* message) {
    const std::string payload(static_cast<const char*>(message->payload),
                              static_cast<std::size_t>(message->payloadlen));
    static_cast<MqttSession*>(self)->m_listener.OnSessionMessage(message->topic, payload,
                                                                 message->retain);
}

// The library says what went wrong during a TLS handshake only here; before
// the connection stands, such an error ends the attempt.
void MqttSession::OnLog(mosquitto*, void* self, int level, const char* text) {
    if ((level & MOSQ_LOG_ERR) == 0) {
        return;
    }
    auto* session = static_cast<MqttSession*>(self);
    bool connected = false;
    {
        std::lock_guard lock(session->m_mutex);
        if (session->m_lastError.empty()) {
            session->m_lastError = text;
        }
        connected = session->m_connected;
    }
    if (connected || !session->m_networkStarted) {
        return;
    }
    const MqttSettings& settings = session->m_settings;
    if (settings.tls) {
        session->Fail(TlsFailureText(settings.host, settings.port, settings.caFile, text));
        return;
    }
    std::string line = text;
    if (line.rfind("Error: ", 0) == 0) {
        line.erase(0, 7);
    }
    session->Fail("cannot connect to " + session->Where() + ": " + line);
}
