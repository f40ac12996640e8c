#pragma once

#include "AlertChannel.h"
#include "AlertSettings.h"

#include <atomic>

// POSTs each alert to WebhookUrl: its JSON, or in the ntfy form the text as
// the body with a Title and a Priority header. A token from WebhookTokenFile
// goes as a bearer token. Any answer but 2xx is a failure.
class WebhookChannel : public AlertChannel {
public:
    explicit WebhookChannel(const AlertSettings& settings);

    std::string Name() const override { return "webhook"; }
    std::string Deliver(const Alert& alert) override;
    void Cancel() override { m_cancel = true; }

private:
    std::string m_url;
    WebhookFormat m_format;
    std::string m_tokenFile;
    std::string m_caFile;
    std::atomic<bool> m_cancel{false};
};

// The ntfy priority: 5 for errors, 4 for warnings, 3 (the default) for the
// rest and for every closing.
int NtfyPriority(const Alert& alert);
