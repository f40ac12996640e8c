#pragma once

#include <string>

enum class LogLevel { Debug, Info, Warning, Error };

// One line for a person: standard error, or the journal's priority under
// systemd. Debug is the developer's trace, off unless HELIOWATCH_TRACE=1;
// the rest is on. QT_LOGGING_RULES can switch the categories "heliowatch"
// and "heliowatch.trace" per level. Safe from any thread.
void Log(LogLevel level, const std::string& text);
bool LogEnabled(LogLevel level);

// Routes Qt's own messages the same way. Log() does this on first use;
// programs call it first so that nothing reaches stderr unformatted.
void StartLogging();
