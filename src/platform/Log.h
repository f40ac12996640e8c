#pragma once

#include <cstdio>
#include <string>

enum class LogLevel { Debug, Info, Warning, Error };

// One line for a person: standard error, or the journal's priority under
// systemd. Debug is the developer's trace, off unless HELIOWATCH_TRACE=1;
// the rest is on. QT_LOGGING_RULES can switch the categories "heliowatch"
// and "heliowatch.trace" per level. Safe from any thread.
void Log(LogLevel level, const std::string& text);
bool LogEnabled(LogLevel level);

// One line of a program's own report on out, as the headless station's event
// lines: as it is on a terminal or in a file, and with its priority when out
// is the journal's stream, so that the journal files a warning as one.
void WriteReportLine(std::FILE* out, LogLevel level, const std::string& line);

// Routes Qt's own messages the same way. Log() does this on first use;
// programs call it first so that nothing reaches stderr unformatted.
void StartLogging();
