#pragma once

#include <string>
#include <vector>

class SettingsStore;

// Section [Web] of the settings file: the dashboard and metrics server.
struct WebSettings {
    bool enable = false;
    std::string listen = "127.0.0.1";
    int port = 8080;
    std::string user;
    std::string passwordFile;
    std::string tlsCert;
    std::string tlsKey;
    // Host names the dashboard answers to without a password, besides its
    // address and localhost: a name in the hosts file, say.
    std::vector<std::string> allowedHosts;
};

WebSettings ReadWebSettings(const SettingsStore& settings);
