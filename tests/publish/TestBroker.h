#pragma once

#include "ChildProcess.h"
#include "TempDirectory.h"

#include <memory>
#include <string>

// A mosquitto broker of the test's own on a free loopback port, with a
// generated configuration; it ends with the object.
class TestBroker {
public:
    // A broker that speaks TLS only, its certificate made out to this host
    // name and signed by an authority of the test's own (CaFile).
    struct Tls {
        std::string certifiedHost;
    };

    // user and password, when given, are the only login it accepts.
    explicit TestBroker(const std::string& user = "", const std::string& password = "");
    explicit TestBroker(const Tls& tls);
    ~TestBroker();
    TestBroker(const TestBroker&) = delete;
    TestBroker& operator=(const TestBroker&) = delete;

    // (Re)starts it on the same port; false when it does not accept
    // connections within a few seconds.
    bool Start();
    void Kill();
    void Pause() const;
    int Port() const { return m_port; }
    std::string CaFile() const { return m_directory.Path() + "/ca.pem"; }

private:
    TempDirectory m_directory;
    std::string m_config;
    int m_port = 0;
    std::unique_ptr<ChildProcess> m_process;
};

// A loopback port nobody listens on at the moment of the call.
int FreeLoopbackPort();
