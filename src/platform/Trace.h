#pragma once

// Debug trace: written to stderr when HELIOWATCH_TRACE=1, otherwise dropped.
void Trace(const char* format, ...) __attribute__((format(printf, 1, 2)));
bool TraceEnabled();
