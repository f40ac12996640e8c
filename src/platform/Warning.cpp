#include "Warning.h"

#include <cstdarg>
#include <cstdio>

void Warning(const char* format, ...) {
    char text[1024];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(text, sizeof text, format, arguments);
    va_end(arguments);
    // One call, so that lines of several threads never mix.
    std::fprintf(stderr, "heliowatch: %s\n", text);
}
