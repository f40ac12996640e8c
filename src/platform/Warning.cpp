#include "Warning.h"

#include "Log.h"

#include <cstdarg>
#include <cstdio>

void Warning(const char* format, ...) {
    char text[1024];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(text, sizeof text, format, arguments);
    va_end(arguments);
    Log(LogLevel::Warning, text);
}
