#pragma once

#include "store/WebSettings.h"

#include <optional>
#include <string>

bool IsLoopbackAddress(const std::string& address);

// The user and password every request must carry; none means open.
struct Credentials {
    std::string user;
    std::string password;
};

// What the server would expose, or why it must not serve: a password file
// that cannot be read or that others may read, a non-loopback address without
// a password, half a TLS pair.
struct AccessDecision {
    std::optional<Credentials> credentials;
    std::string refusal; // empty when the server may serve
    std::string warning; // what a person should know even so
};
AccessDecision DecideAccess(const WebSettings& settings);

// True when the Authorization header value carries exactly these credentials.
bool Authorized(const std::string& header, const Credentials& credentials);
