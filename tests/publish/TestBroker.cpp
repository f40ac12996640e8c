#include "TestBroker.h"

#include <arpa/inet.h>
#include <csignal>
#include <fstream>
#include <netinet/in.h>
#include <pwd.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace {
using namespace std::chrono_literals;

sockaddr_in Loopback(int port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

bool Accepts(int port) {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const sockaddr_in address = Loopback(port);
    const bool accepted =
        connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    close(fd);
    return accepted;
}

// Run as root the broker would otherwise switch to its own account, which
// may not read the test's files.
std::string CurrentUser() {
    const passwd* entry = getpwuid(getuid());
    return entry != nullptr ? entry->pw_name : "root";
}
} // namespace

int FreeLoopbackPort() {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address = Loopback(0);
    socklen_t length = sizeof address;
    bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    close(fd);
    return ntohs(address.sin_port);
}

TestBroker::TestBroker(const std::string& user, const std::string& password)
    : m_config(m_directory.Path() + "/mosquitto.conf"), m_port(FreeLoopbackPort()) {
    std::ofstream config(m_config);
    config << "listener " << m_port << " 127.0.0.1\n"
           << "persistence false\nlog_dest none\nuser " << CurrentUser() << "\n";
    if (user.empty()) {
        config << "allow_anonymous true\n";
        return;
    }
    const std::string passwords = m_directory.Path() + "/passwords";
    ChildProcess({"/usr/bin/mosquitto_passwd", "-b", "-c", passwords, user, password}).Wait(5s);
    config << "allow_anonymous false\npassword_file " << passwords << "\n";
}

TestBroker::TestBroker(const Tls& tls)
    : m_config(m_directory.Path() + "/mosquitto.conf"), m_port(FreeLoopbackPort()) {
    const std::string dir = m_directory.Path();
    const auto openssl = [](std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), "/usr/bin/openssl");
        ChildProcess(arguments).Wait(30s);
    };
    openssl({"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-subj",
             "/CN=Heliowatch test authority", "-keyout", dir + "/ca.key", "-out", CaFile()});
    openssl({"req", "-newkey", "rsa:2048", "-nodes", "-subj", "/CN=" + tls.certifiedHost, "-keyout",
             dir + "/broker.key", "-out", dir + "/broker.csr"});
    std::ofstream(dir + "/names") << "subjectAltName=DNS:" << tls.certifiedHost << "\n";
    openssl({"x509", "-req", "-days", "2", "-in", dir + "/broker.csr", "-CA", CaFile(), "-CAkey",
             dir + "/ca.key", "-CAcreateserial", "-extfile", dir + "/names", "-out",
             dir + "/broker.pem"});
    std::ofstream(m_config) << "listener " << m_port << " 127.0.0.1\n"
                            << "persistence false\nlog_dest none\nuser " << CurrentUser()
                            << "\nallow_anonymous true\ncafile " << CaFile() << "\ncertfile " << dir
                            << "/broker.pem\nkeyfile " << dir << "/broker.key\n";
}

TestBroker::~TestBroker() {
    Kill();
}

bool TestBroker::Start() {
    Kill();
    m_process = std::make_unique<ChildProcess>(
        std::vector<std::string>{"/usr/sbin/mosquitto", "-c", m_config});
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while (!Accepts(m_port)) {
        if (std::chrono::steady_clock::now() > deadline || m_process->Wait(0ms)) {
            return false;
        }
        std::this_thread::sleep_for(20ms);
    }
    return true;
}

void TestBroker::Kill() {
    if (m_process) {
        m_process->Signal(SIGKILL);
        m_process->Wait(5s);
        m_process.reset();
    }
}

void TestBroker::Pause() const {
    m_process->Signal(SIGSTOP);
}
