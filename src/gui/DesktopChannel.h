#pragma once

#include "alerts/AlertChannel.h"

#include <memory>

// Alerts as desktop notifications, through the notification service on the
// user's session bus (org.freedesktop.Notifications). Each delivery takes a
// connection of its own, so any thread may deliver.
class DesktopChannel : public AlertChannel {
public:
    std::string Name() const override { return "desktop"; }
    std::string Deliver(const Alert& alert) override;
};

std::unique_ptr<AlertChannel> MakeDesktopChannel();
