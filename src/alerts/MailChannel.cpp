#include "MailChannel.h"

#include "CurlRequest.h"
#include "MailMessage.h"
#include "platform/FirstLine.h"

#include <cstring>

namespace {
constexpr auto TIMEOUT = std::chrono::seconds(30);

// Hands libcurl the message a piece at a time.
struct Upload {
    std::string text;
    std::size_t sent = 0;

    static std::size_t Read(char* buffer, std::size_t size, std::size_t count, void* self) {
        auto& upload = *static_cast<Upload*>(self);
        const std::size_t bytes = std::min(size * count, upload.text.size() - upload.sent);
        std::memcpy(buffer, upload.text.data() + upload.sent, bytes);
        upload.sent += bytes;
        return bytes;
    }
};

struct Recipients {
    curl_slist* list = nullptr;
    ~Recipients() { curl_slist_free_all(list); }
};
} // namespace

MailChannel::MailChannel(const AlertSettings& settings)
    : m_url(settings.smtpUrl), m_startTls(settings.smtpStartTls), m_user(settings.smtpUser),
      m_passwordFile(settings.smtpPasswordFile), m_from(settings.mailFrom), m_to(settings.mailTo),
      m_caFile(settings.caFile) {}

std::string MailChannel::Problem() const {
    if (m_from.empty()) {
        return "MailFrom is empty";
    }
    if (m_to.empty()) {
        return "MailTo names nobody";
    }
    return {};
}

std::string MailChannel::Deliver(const Alert& alert) {
    if (std::string problem = Problem(); !problem.empty()) {
        return problem;
    }
    CurlRequest request(m_url, "smtp,smtps", TIMEOUT, m_cancel);
    CURL* curl = request.Handle();
    std::string password;
    if (!m_passwordFile.empty()) {
        const Outcome<std::string> secret = ReadSecretLine(m_passwordFile);
        if (!secret || secret->empty()) {
            return "SmtpPasswordFile: " +
                   (secret ? m_passwordFile + " holds no password" : secret.Reason());
        }
        password = *secret;
    }
    if (!m_user.empty()) {
        curl_easy_setopt(curl, CURLOPT_USERNAME, m_user.c_str());
        curl_easy_setopt(curl, CURLOPT_PASSWORD, password.c_str());
    }
    if (!m_caFile.empty()) {
        request.TrustOnly(m_caFile);
    }
    curl_easy_setopt(curl, CURLOPT_USE_SSL,
                     static_cast<long>(m_startTls ? CURLUSESSL_ALL : CURLUSESSL_NONE));
    const std::string from = "<" + BareAddress(m_from) + ">";
    curl_easy_setopt(curl, CURLOPT_MAIL_FROM, from.c_str());
    Recipients recipients;
    for (const std::string& to : m_to) {
        recipients.list = curl_slist_append(recipients.list, ("<" + BareAddress(to) + ">").c_str());
    }
    curl_easy_setopt(curl, CURLOPT_MAIL_RCPT, recipients.list);
    Upload upload{MailMessage(alert, m_from, m_to)};
    curl_easy_setopt(curl, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(curl, CURLOPT_READFUNCTION, &Upload::Read);
    curl_easy_setopt(curl, CURLOPT_READDATA, &upload);
    return request.Perform();
}
