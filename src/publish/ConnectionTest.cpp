#include "ConnectionTest.h"

#include "MqttSession.h"

#include <condition_variable>
#include <mutex>
#include <optional>

namespace {
class Outcome : public SessionListener {
public:
    void OnSessionConnected() override { Set(""); }
    void OnSessionFailed(const std::string& reason) override { Set(reason); }
    void OnSessionPublished(int) override {}
    void OnSessionMessage(const std::string&, const std::string&, bool) override {}

    std::optional<std::string> Wait(std::chrono::milliseconds timeout) {
        std::unique_lock lock(m_mutex);
        m_told.wait_for(lock, timeout, [this] { return m_reason.has_value(); });
        return m_reason;
    }

private:
    void Set(const std::string& reason) {
        {
            std::lock_guard lock(m_mutex);
            m_reason = reason;
        }
        m_told.notify_all();
    }

    std::mutex m_mutex;
    std::condition_variable m_told;
    std::optional<std::string> m_reason;
};
} // namespace

std::string TestBrokerConnection(const MqttSettings& settings, std::chrono::milliseconds timeout) {
    Outcome outcome;
    // Under its own client id and without a last will, a test neither pushes
    // a running station off the broker nor marks it offline.
    MqttSettings trial = settings;
    trial.clientId = (settings.clientId.empty() ? DefaultClientId() : settings.clientId) + "-test";
    MqttSession session(trial, "", outcome);
    if (std::string problem = session.Start(); !problem.empty()) {
        return problem;
    }
    const std::optional<std::string> reason = outcome.Wait(timeout);
    session.Close();
    if (!reason) {
        return "no answer from " + settings.host + ":" + std::to_string(settings.port) +
               " within " + std::to_string(timeout.count() / 1000) + " s";
    }
    return *reason;
}
