#pragma once

#include "ChildProcess.h"
#include "TempDirectory.h"

#include <chrono>
#include <memory>
#include <optional>
#include <string>

// A mail server of the test's own on a loopback port (Debian's aiosmtpd),
// with STARTTLS on a throwaway certificate made for it and one login.
class SmtpReceiver {
public:
    SmtpReceiver(std::string user, std::string password);

    // False when the certificate cannot be made or the server does not come up.
    bool Start();
    std::string Url() const { return "smtp://127.0.0.1:" + std::to_string(m_port); }
    // The certificate, for the client to trust.
    std::string CaFile() const { return m_directory.Path() + "/cert.pem"; }
    // The next message as the server printed it (JSON), if one comes in time.
    std::optional<std::string> NextMessage(std::chrono::milliseconds timeout);

private:
    TempDirectory m_directory;
    std::string m_user;
    std::string m_password;
    int m_port;
    std::unique_ptr<ChildProcess> m_server;
};
