#pragma once

#include <memory>
#include <string>

class CHeliowatchDoc;
class WebServer;

// The web server of section [Web], started on the document's groups; null
// when it is off or cannot serve, with the reason logged.
std::unique_ptr<WebServer> StartWebServer(const CHeliowatchDoc& document,
                                          const std::string& settingsFile);
