#pragma once

#include <atomic>
#include <chrono>
#include <curl/curl.h>
#include <string>

// One transfer through libcurl with the settings every channel shares: only
// the named protocols, no redirects, no signals, a time-out for the whole
// transfer, and an end as soon as cancel is set.
class CurlRequest {
public:
    CurlRequest(const std::string& url, const char* protocols, std::chrono::seconds timeout,
                const std::atomic<bool>& cancel);
    ~CurlRequest();
    CurlRequest(const CurlRequest&) = delete;
    CurlRequest& operator=(const CurlRequest&) = delete;

    CURL* Handle() const { return m_curl; }
    // Certificate authorities to trust instead of the system's.
    void TrustOnly(const std::string& caFile);
    void AddHeader(const std::string& line);
    // Empty when the transfer went through; otherwise libcurl's reason.
    std::string Perform();
    long ResponseCode() const;
    // The start of what the server answered, for a reason.
    const std::string& Answer() const { return m_answer; }

private:
    static std::size_t Keep(char* data, std::size_t size, std::size_t count, void* self);
    static int Progress(void* self, curl_off_t, curl_off_t, curl_off_t, curl_off_t);

    CURL* m_curl;
    curl_slist* m_headers = nullptr;
    const std::atomic<bool>& m_cancel;
    std::string m_answer;
    char m_error[256] = {};
};
