#pragma once

#include "HttpMessage.h"
#include "LoginThrottle.h"
#include "WebAccess.h"
#include "WebReplies.h"

#include <optional>
#include <string>
#include <vector>

struct GateRules {
    std::optional<Credentials> credentials;
    // Names a request may carry in its Host header when no password guards
    // the station, so that a page from elsewhere cannot reach it through a
    // name that resolves to it; lower case, without port.
    std::vector<std::string> hosts;
};

// What every request must pass before it is routed: sizes, the method, the
// Host header and the password. Nothing when it passes.
class RequestGate {
public:
    static constexpr std::size_t MAX_HEADERS = 48;
    static constexpr std::size_t MAX_BODY_BYTES = 4096;
    static constexpr std::size_t MAX_TARGET_BYTES = 8192;

    explicit RequestGate(GateRules rules) : m_rules(std::move(rules)) {}

    std::optional<HttpResponse> Refusal(const HttpRequest& request);

private:
    bool HostAllowed(const std::string& host) const;
    HttpResponse WrongPassword(const HttpRequest& request);

    GateRules m_rules;
    LoginThrottle m_throttle;
};

// The allowed Host names of a listener: its address (bracketed when IPv6),
// "localhost" and the extra names, in lower case.
std::vector<std::string> AllowedHosts(const std::string& listen,
                                      const std::vector<std::string>& extra);
