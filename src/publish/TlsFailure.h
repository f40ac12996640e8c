#pragma once

#include <string>

// One sentence for a TLS connection that failed, from the first error the
// client library logged on the way (OpenSSL's included): "TLS handshake
// failed: the broker does not speak TLS on 127.0.0.1:1883". caFile: empty
// when the system's certificate authorities are used.
std::string TlsFailureText(const std::string& host, int port, const std::string& caFile,
                           const std::string& error);
