#pragma once

// Debug trace: a Log(LogLevel::Debug) line, written when HELIOWATCH_TRACE=1.
void Trace(const char* format, ...) __attribute__((format(printf, 1, 2)));
bool TraceEnabled();
