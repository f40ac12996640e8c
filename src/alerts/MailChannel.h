#pragma once

#include "AlertChannel.h"
#include "AlertSettings.h"

#include <atomic>

// Sends each alert as a mail through the SMTP server of SmtpUrl, with
// STARTTLS required unless SmtpStartTls=0 (smtps:// is TLS from the start),
// logging in as SmtpUser with the password of SmtpPasswordFile.
class MailChannel : public AlertChannel {
public:
    explicit MailChannel(const AlertSettings& settings);

    std::string Name() const override { return "mail"; }
    std::string Deliver(const Alert& alert) override;
    void Cancel() override { m_cancel = true; }

private:
    // Empty when the settings can send; otherwise what is missing.
    std::string Problem() const;

    std::string m_url;
    bool m_startTls;
    std::string m_user;
    std::string m_passwordFile;
    std::string m_from;
    std::vector<std::string> m_to;
    std::string m_caFile;
    std::atomic<bool> m_cancel{false};
};
