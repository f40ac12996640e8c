#include "WebhookChannel.h"

#include "AlertJson.h"
#include "AlertText.h"
#include "CurlRequest.h"
#include "platform/FirstLine.h"

namespace {
constexpr auto TIMEOUT = std::chrono::seconds(15);
constexpr long FIRST_SUCCESS = 200;
constexpr long FIRST_FAILURE = 300;

std::string FirstLine(const std::string& text) {
    return HeaderText(text.substr(0, text.find_first_of("\r\n")));
}
} // namespace

WebhookChannel::WebhookChannel(const AlertSettings& settings)
    : m_url(settings.webhookUrl), m_format(settings.webhookFormat),
      m_tokenFile(settings.webhookTokenFile), m_caFile(settings.caFile) {}

std::string WebhookChannel::Deliver(const Alert& alert) {
    CurlRequest request(m_url, "http,https", TIMEOUT, m_cancel);
    if (!m_tokenFile.empty()) {
        const Outcome<std::string> token = ReadSecretLine(m_tokenFile);
        if (!token || token->empty()) {
            return "WebhookTokenFile: " +
                   (token ? m_tokenFile + " holds no token" : token.Reason());
        }
        request.AddHeader("Authorization: Bearer " + HeaderText(*token));
    }
    if (!m_caFile.empty()) {
        request.TrustOnly(m_caFile);
    }
    const std::string body =
        m_format == WebhookFormat::Json ? AlertJson(alert) : Utf8Text(alert.text);
    if (m_format == WebhookFormat::Json) {
        request.AddHeader("Content-Type: application/json");
    } else {
        request.AddHeader("Content-Type: text/plain; charset=utf-8");
        request.AddHeader("Title: " + HeaderText(alert.title));
        request.AddHeader("Priority: " + std::to_string(NtfyPriority(alert)));
        request.AddHeader("Tags: " + HeaderText(alert.rule));
    }
    curl_easy_setopt(request.Handle(), CURLOPT_POSTFIELDSIZE, static_cast<long>(body.size()));
    curl_easy_setopt(request.Handle(), CURLOPT_COPYPOSTFIELDS, body.c_str());
    if (std::string problem = request.Perform(); !problem.empty()) {
        return problem;
    }
    const long status = request.ResponseCode();
    if (status < FIRST_SUCCESS || status >= FIRST_FAILURE) {
        const std::string answer = FirstLine(request.Answer());
        return "the webhook answered HTTP " + std::to_string(status) +
               (answer.empty() ? "" : ": " + answer);
    }
    return {};
}

int NtfyPriority(const Alert& alert) {
    if (alert.state == AlertState::Closed) {
        return 3;
    }
    switch (alert.severity) {
    case Severity::Error: return 5;
    case Severity::Warning: return 4;
    case Severity::Info: return 3;
    }
    return 3;
}
