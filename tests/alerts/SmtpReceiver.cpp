#include "SmtpReceiver.h"

#include "TestBroker.h"

#include <cstdlib>

SmtpReceiver::SmtpReceiver(std::string user, std::string password)
    : m_user(std::move(user)), m_password(std::move(password)), m_port(FreeLoopbackPort()) {}

bool SmtpReceiver::Start() {
    const std::string& folder = m_directory.Path();
    ChildProcess openssl({"/usr/bin/openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes",
                          "-days", "1", "-subj", "/CN=127.0.0.1", "-addext",
                          "subjectAltName=IP:127.0.0.1", "-keyout", folder + "/key.pem", "-out",
                          folder + "/cert.pem"});
    if (openssl.Wait(std::chrono::seconds(30)) != 0) {
        return false;
    }
    m_server = std::make_unique<ChildProcess>(
        std::vector<std::string>{HELIOWATCH_SYSTEM_PYTHON, HELIOWATCH_SMTP_RECEIVER, "--port",
                                 std::to_string(m_port), "--cert", folder + "/cert.pem", "--key",
                                 folder + "/key.pem", "--user", m_user, "--password", m_password});
    return m_server->WaitForLine("ready", std::chrono::seconds(20));
}

std::optional<std::string> SmtpReceiver::NextMessage(std::chrono::milliseconds timeout) {
    return m_server->ReadLine(timeout);
}
