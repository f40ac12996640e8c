#pragma once

#include <string>

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
};

WebSettings ReadWebSettings(const SettingsStore& settings);
