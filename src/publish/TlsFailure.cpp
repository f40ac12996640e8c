#include "TlsFailure.h"

namespace {
bool Says(const std::string& error, const char* words) {
    return error.find(words) != std::string::npos;
}

// "OpenSSL Error[0]: error:0A000126:SSL routines::unexpected eof while
// reading" says "unexpected eof while reading"; the library's own errors
// lose their "Error: " and final full stop.
std::string Cause(std::string error) {
    if (const std::size_t routines = error.rfind("::"); routines != std::string::npos) {
        error.erase(0, routines + 2);
    } else if (error.rfind("Error: ", 0) == 0) {
        error.erase(0, 7);
    }
    if (!error.empty() && error.back() == '.') {
        error.pop_back();
    }
    return error.empty() ? "no reason given" : error;
}
} // namespace

std::string TlsFailureText(const std::string& host, int port, const std::string& caFile,
                           const std::string& error) {
    const std::string where = host + ":" + std::to_string(port);
    const std::string authorities =
        caFile.empty() ? "the system's certificate authorities" : caFile;
    if (Says(error, "Unable to load CA certificates")) {
        return "TLS cannot start: no certificate authority could be loaded from " + authorities;
    }
    if (Says(error, "host name verification failed")) {
        return "TLS handshake failed: the certificate of " + where + " is not made out to " + host;
    }
    if (Says(error, "certificate verify failed")) {
        return "TLS handshake failed: the certificate of " + where + " is not trusted by " +
               authorities + " (unknown authority, expired or not yet valid)";
    }
    if (Says(error, "unexpected eof") || Says(error, "wrong version number") ||
        Says(error, "packet length too long") || Says(error, "record layer failure")) {
        return "TLS handshake failed: the broker does not speak TLS on " + where;
    }
    return "TLS handshake failed with " + where + ": " + Cause(error);
}
