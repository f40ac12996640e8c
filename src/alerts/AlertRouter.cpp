#include "AlertRouter.h"

#include "AlertRule.h"
#include "Outbox.h"
#include "platform/Log.h"

AlertRouter::AlertRouter(const AlertSettings& settings, Outbox& outbox,
                         std::vector<std::string> channels, std::function<void()> wake)
    : m_settings(settings), m_outbox(outbox), m_channels(std::move(channels)),
      m_wake(std::move(wake)), m_quiet(settings.quietFrom, settings.quietTo) {}

void AlertRouter::Raise(const Alert& alert) {
    Log(LogLevel::Info,
        std::string("alert ") + AlertStateName(alert.state) + " " + alert.rule + ": " + alert.text);
    const std::vector<std::string> channels = ChannelsFor(alert);
    if (channels.empty()) {
        return;
    }
    const bool passes = alert.rule == RuleInfo(AlertRule::Fault).name;
    m_outbox.Add(alert, channels, passes ? alert.time : m_quiet.Release(alert.time));
    if (m_wake) {
        m_wake();
    }
}

std::vector<std::string> AlertRouter::ChannelsFor(const Alert& alert) const {
    std::vector<std::string> channels;
    for (const std::string& channel : m_channels) {
        const auto least = m_settings.minimumSeverity.find(channel);
        const bool severe =
            least == m_settings.minimumSeverity.end() || alert.severity >= least->second;
        if (severe && RuleUsesChannel(m_settings, alert.rule, channel)) {
            channels.push_back(channel);
        }
    }
    return channels;
}
