#include "Log.h"
#include "UserNotifier.h"

void LoggingNotifier::Show(const std::string& text) {
    Log(LogLevel::Warning, text);
}
