#include "WebSettings.h"

#include "SettingsStore.h"

WebSettings ReadWebSettings(const SettingsStore& settings) {
    const WebSettings defaults;
    WebSettings web;
    web.enable = settings.GetInt("Web", "Enable", 0, SWITCH_RANGE) == 1;
    web.listen = settings.GetString("Web", "Listen", defaults.listen);
    web.port = settings.GetInt("Web", "Port", defaults.port, TCP_PORT_RANGE);
    web.user = settings.GetString("Web", "User", "");
    web.passwordFile = settings.GetString("Web", "PasswordFile", "");
    web.tlsCert = settings.GetString("Web", "TlsCert", "");
    web.tlsKey = settings.GetString("Web", "TlsKey", "");
    const std::string hosts = settings.GetString("Web", "AllowedHosts", "");
    std::size_t start = hosts.find_first_not_of(", ");
    while (start != std::string::npos) {
        const std::size_t end = hosts.find_first_of(", ", start);
        web.allowedHosts.push_back(hosts.substr(start, end - start));
        start = hosts.find_first_not_of(", ", end);
    }
    return web;
}
