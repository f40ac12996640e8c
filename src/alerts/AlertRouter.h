#pragma once

#include "AlertSettings.h"
#include "AlertSink.h"
#include "QuietHours.h"

#include <functional>
#include <string>
#include <vector>

class Outbox;

// Puts each alert into the outbox for the channels that take it: those its
// rule names, whose least severity it reaches. In quiet hours all but
// faults wait for the quiet to end. Then the delivery is woken.
class AlertRouter : public AlertSink {
public:
    AlertRouter(const AlertSettings& settings, Outbox& outbox, std::vector<std::string> channels,
                std::function<void()> wake);

    void Raise(const Alert& alert) override;
    // The channels that take the alert.
    std::vector<std::string> ChannelsFor(const Alert& alert) const;

private:
    const AlertSettings& m_settings;
    Outbox& m_outbox;
    std::vector<std::string> m_channels;
    std::function<void()> m_wake;
    QuietHours m_quiet;
};
