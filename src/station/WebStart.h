#pragma once

#include <memory>
#include <string>

class CHeliowatchDoc;
class Publisher;
class WebServer;

// The web server of section [Web], started on the document's groups and
// showing the publisher's broker state; null when it is off or cannot serve.
// Why it cannot serve goes to failure when given (the caller decides what
// follows), else to the log as a warning. Both must outlive the server.
std::unique_ptr<WebServer> StartWebServer(const CHeliowatchDoc& document,
                                          const Publisher& publisher,
                                          const std::string& settingsFile,
                                          std::string* failure = nullptr);
