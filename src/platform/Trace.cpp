#include "Trace.h"

#include "Log.h"

#include <cstdarg>
#include <cstdio>
#include <string>

bool TraceEnabled() {
    return LogEnabled(LogLevel::Debug);
}

void Trace(const char* format, ...) {
    if (!TraceEnabled()) {
        return;
    }
    va_list arguments;
    va_start(arguments, format);
    va_list measuring;
    va_copy(measuring, arguments);
    const int length = std::vsnprintf(nullptr, 0, format, measuring);
    va_end(measuring);
    std::string text(length > 0 ? static_cast<std::size_t>(length) : 0, '\0');
    std::vsnprintf(text.data(), text.size() + 1, format, arguments);
    va_end(arguments);
    Log(LogLevel::Debug, text);
}
