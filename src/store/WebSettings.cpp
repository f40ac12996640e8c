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
    return web;
}
