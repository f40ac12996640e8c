#pragma once

// A warning for whoever runs the station: one line "heliowatch: ..." on
// standard error, whatever the trace setting.
void Warning(const char* format, ...) __attribute__((format(printf, 1, 2)));
