#pragma once

#include <memory>
#include <string>

class AlertCenter;
class CHeliowatchDoc;
class Publisher;
class WebServer;

// The web server of section [Web], started on the document's groups and
// showing the publisher's broker state and the alerts; null when it is off
// or cannot serve. Why it cannot serve goes to failure when given (the
// caller decides what follows), else to the log as a warning. All three must
// outlive the server.
std::unique_ptr<WebServer> StartWebServer(const CHeliowatchDoc& document,
                                          const Publisher& publisher, AlertCenter& alerts,
                                          const std::string& settingsFile,
                                          std::string* failure = nullptr);
