#include "WebAccess.h"

#include "platform/FirstLine.h"

#include <QByteArray>
#include <arpa/inet.h>

namespace {
// The password is the file's first line, without its line end.
std::optional<std::string> ReadPassword(const std::string& path, std::string& problem) {
    const Outcome<std::string> line = ReadSecretLine(path);
    if (!line) {
        problem = "the password file: " + line.Reason();
        return std::nullopt;
    }
    if (line->empty()) {
        problem = "the password file " + path + " holds no password";
        return std::nullopt;
    }
    return *line;
}

// Compares every byte, so the time taken tells nothing of where they differ.
bool SameText(const std::string& given, const std::string& expected) {
    if (given.size() != expected.size()) {
        return false;
    }
    unsigned char difference = 0;
    for (std::size_t i = 0; i < given.size(); ++i) {
        difference |= static_cast<unsigned char>(given[i] ^ expected[i]);
    }
    return difference == 0;
}
} // namespace

bool IsLoopbackAddress(const std::string& address) {
    if (address == "localhost") {
        return true;
    }
    in_addr v4{};
    if (inet_pton(AF_INET, address.c_str(), &v4) == 1) {
        return (ntohl(v4.s_addr) >> 24) == 127;
    }
    in6_addr v6{};
    return inet_pton(AF_INET6, address.c_str(), &v6) == 1 && IN6_IS_ADDR_LOOPBACK(&v6);
}

AccessDecision DecideAccess(const WebSettings& settings) {
    AccessDecision decision;
    if (settings.tlsCert.empty() != settings.tlsKey.empty()) {
        decision.refusal = settings.tlsCert.empty()
                               ? "TlsKey is set without TlsCert; set both for HTTPS, or neither"
                               : "TlsCert is set without TlsKey; set both for HTTPS, or neither";
        return decision;
    }
    if (!settings.passwordFile.empty()) {
        const auto password = ReadPassword(settings.passwordFile, decision.refusal);
        if (!password) {
            return decision;
        }
        decision.credentials = Credentials{settings.user, *password};
        if (settings.tlsCert.empty() && !IsLoopbackAddress(settings.listen)) {
            decision.warning = "Listen=" + settings.listen +
                               " without TlsCert and TlsKey: user names and passwords cross "
                               "the network in clear";
        }
    } else if (!IsLoopbackAddress(settings.listen)) {
        decision.refusal = "Listen=" + settings.listen +
                           " is not a loopback address and no PasswordFile is set; "
                           "the web server would be open to anyone on the network";
    }
    return decision;
}

bool Authorized(const std::string& header, const Credentials& credentials) {
    static constexpr std::string_view SCHEME = "Basic ";
    if (header.compare(0, SCHEME.size(), SCHEME) != 0) {
        return false;
    }
    const QByteArray decoded =
        QByteArray::fromBase64(QByteArray::fromStdString(header.substr(SCHEME.size())),
                               QByteArray::AbortOnBase64DecodingErrors);
    return SameText(decoded.toStdString(), credentials.user + ":" + credentials.password);
}
