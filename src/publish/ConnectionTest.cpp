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
    void OnSessionPublished(int) override {
        {
            std::lock_guard lock(m_mutex);
            m_published = true;
        }
        m_told.notify_all();
    }
    void OnSessionMessage(const std::string&, const std::string&, bool) override {}

    std::optional<std::string> Wait(std::chrono::milliseconds timeout) {
        std::unique_lock lock(m_mutex);
        m_told.wait_for(lock, timeout, [this] { return m_reason.has_value(); });
        return m_reason;
    }

    bool WaitPublished(std::chrono::milliseconds timeout) {
        std::unique_lock lock(m_mutex);
        return m_told.wait_for(lock, timeout, [this] { return m_published; });
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
    bool m_published = false;
};

// Under its own client id and without a last will, a trial neither pushes
// a running station off the broker nor marks it offline.
MqttSettings Trial(const MqttSettings& settings) {
    MqttSettings trial = settings;
    trial.clientId = (settings.clientId.empty() ? DefaultClientId() : settings.clientId) + "-test";
    return trial;
}

std::string NoAnswer(const MqttSettings& settings, std::chrono::milliseconds timeout) {
    return "no answer from " + settings.host + ":" + std::to_string(settings.port) + " within " +
           std::to_string(timeout.count() / 1000) + " s";
}
} // namespace

std::string TestBrokerConnection(const MqttSettings& settings, std::chrono::milliseconds timeout) {
    Outcome outcome;
    MqttSession session(Trial(settings), "", outcome);
    if (std::string problem = session.Start(); !problem.empty()) {
        return problem;
    }
    const std::optional<std::string> reason = outcome.Wait(timeout);
    session.Close();
    return reason ? *reason : NoAnswer(settings, timeout);
}

std::string PublishTestMessage(const MqttSettings& settings, const MqttMessage& message,
                               std::chrono::milliseconds timeout) {
    if (std::string problem = MqttSettingsProblem(settings); !problem.empty()) {
        return problem;
    }
    Outcome outcome;
    MqttSession session(Trial(settings), "", outcome);
    if (std::string problem = session.Start(); !problem.empty()) {
        return problem;
    }
    const std::optional<std::string> reason = outcome.Wait(timeout);
    int messageId = 0;
    std::string problem = reason ? *reason : NoAnswer(settings, timeout);
    if (problem.empty()) {
        problem = session.Publish(message, messageId);
    }
    if (problem.empty() && !outcome.WaitPublished(timeout)) {
        problem = NoAnswer(settings, timeout);
    }
    session.Close();
    return problem;
}
