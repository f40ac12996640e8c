#include "CurlRequest.h"

#include <algorithm>
#include <mutex>

namespace {
constexpr std::size_t KEPT_ANSWER = 300;
constexpr long CONNECT_TIMEOUT_S = 10;

CURL* NewHandle() {
    static std::once_flag ready;
    std::call_once(ready, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
    return curl_easy_init();
}
} // namespace

CurlRequest::CurlRequest(const std::string& url, const char* protocols,
                         std::chrono::seconds timeout, const std::atomic<bool>& cancel)
    : m_curl(NewHandle()), m_cancel(cancel) {
    if (m_curl == nullptr) {
        return;
    }
    curl_easy_setopt(m_curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(m_curl, CURLOPT_PROTOCOLS_STR, protocols);
    curl_easy_setopt(m_curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(m_curl, CURLOPT_CONNECTTIMEOUT, CONNECT_TIMEOUT_S);
    curl_easy_setopt(m_curl, CURLOPT_TIMEOUT, static_cast<long>(timeout.count()));
    curl_easy_setopt(m_curl, CURLOPT_ERRORBUFFER, m_error);
    curl_easy_setopt(m_curl, CURLOPT_WRITEFUNCTION, &CurlRequest::Keep);
    curl_easy_setopt(m_curl, CURLOPT_WRITEDATA, this);
    curl_easy_setopt(m_curl, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(m_curl, CURLOPT_XFERINFOFUNCTION, &CurlRequest::Progress);
    curl_easy_setopt(m_curl, CURLOPT_XFERINFODATA, this);
}

CurlRequest::~CurlRequest() {
    curl_slist_free_all(m_headers);
    if (m_curl != nullptr) {
        curl_easy_cleanup(m_curl);
    }
}

void CurlRequest::TrustOnly(const std::string& caFile) {
    curl_easy_setopt(m_curl, CURLOPT_CAINFO, caFile.c_str());
    curl_easy_setopt(m_curl, CURLOPT_CAPATH, nullptr);
}

void CurlRequest::AddHeader(const std::string& line) {
    m_headers = curl_slist_append(m_headers, line.c_str());
}

std::string CurlRequest::Perform() {
    if (m_curl == nullptr) {
        return "libcurl cannot start a transfer";
    }
    if (m_headers != nullptr) {
        curl_easy_setopt(m_curl, CURLOPT_HTTPHEADER, m_headers);
    }
    const CURLcode result = curl_easy_perform(m_curl);
    if (result == CURLE_OK) {
        return {};
    }
    if (result == CURLE_ABORTED_BY_CALLBACK) {
        return "cancelled: the station stops";
    }
    return m_error[0] != '\0' ? std::string(m_error) : std::string(curl_easy_strerror(result));
}

long CurlRequest::ResponseCode() const {
    long code = 0;
    curl_easy_getinfo(m_curl, CURLINFO_RESPONSE_CODE, &code);
    return code;
}

std::size_t CurlRequest::Keep(char* data, std::size_t size, std::size_t count, void* self) {
    std::string& answer = static_cast<CurlRequest*>(self)->m_answer;
    const std::size_t bytes = size * count;
    answer.append(data, std::min(bytes, KEPT_ANSWER - std::min(answer.size(), KEPT_ANSWER)));
    return bytes;
}

int CurlRequest::Progress(void* self, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    return static_cast<CurlRequest*>(self)->m_cancel.load() ? 1 : 0;
}
