#include "RequestGate.h"

#include "platform/Log.h"

#include <algorithm>
#include <cstdlib>

namespace {
std::string LowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// "Name:port", "[v6]:port" or "name." to the bare name.
std::string HostName(const std::string& header) {
    std::string host = LowerCase(header);
    if (!host.empty() && host.front() == '[') {
        return host.substr(0, host.find(']') + 1);
    }
    host = host.substr(0, host.find(':'));
    if (!host.empty() && host.back() == '.') {
        host.pop_back();
    }
    return host;
}

bool BodyTooLarge(const HttpRequest& request) {
    const std::string& length = request.Header("content-length");
    return !request.Header("transfer-encoding").empty() ||
           std::strtoull(length.c_str(), nullptr, 10) > RequestGate::MAX_BODY_BYTES;
}
} // namespace

std::vector<std::string> AllowedHosts(const std::string& listen,
                                      const std::vector<std::string>& extra) {
    const std::string address = LowerCase(listen);
    std::vector<std::string> hosts{
        address.find(':') != std::string::npos ? "[" + address + "]" : address, "localhost"};
    for (const std::string& name : extra) {
        hosts.push_back(HostName(name));
    }
    return hosts;
}

bool RequestGate::HostAllowed(const std::string& host) const {
    const std::string name = HostName(host);
    return std::find(m_rules.hosts.begin(), m_rules.hosts.end(), name) != m_rules.hosts.end();
}

std::optional<HttpResponse> RequestGate::Refusal(const HttpRequest& request) {
    if (request.headerCount > MAX_HEADERS) {
        return ErrorReply(431, "too many header fields").Header("Connection", "close");
    }
    if (BodyTooLarge(request)) {
        return ErrorReply(413, "request too large").Header("Connection", "close");
    }
    if (request.target.size() > MAX_TARGET_BYTES) {
        return ErrorReply(414, "request target too long").Header("Connection", "close");
    }
    if (request.method != "GET" && request.method != "HEAD") {
        return ErrorReply(405, "read-only").Header("Allow", "GET, HEAD");
    }
    if (!m_rules.credentials) {
        if (!HostAllowed(request.Header("host"))) {
            return ErrorReply(421, "this station answers only to the names it is set up for "
                                   "(Listen and AllowedHosts)");
        }
        return std::nullopt;
    }
    const std::string& authorization = request.Header("authorization");
    if (Authorized(authorization, *m_rules.credentials)) {
        m_throttle.Succeeded(request.client);
        return std::nullopt;
    }
    return authorization.empty()
               ? ErrorReply(401, "authentication required")
                     .Header("WWW-Authenticate", R"(Basic realm="Heliowatch", charset="UTF-8")")
               : WrongPassword(request);
}

HttpResponse RequestGate::WrongPassword(const HttpRequest& request) {
    const LoginThrottle::Verdict verdict =
        m_throttle.Failed(request.client, LoginThrottle::Clock::now());
    if (!verdict.logLine.empty()) {
        Log(LogLevel::Warning, verdict.logLine);
    }
    HttpResponse reply = ErrorReply(401, "wrong user name or password");
    reply.Header("WWW-Authenticate", R"(Basic realm="Heliowatch", charset="UTF-8")");
    reply.delay = verdict.delay;
    return reply;
}
