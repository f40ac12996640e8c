#include "UserNotifier.h"

#include <cstdio>

void LoggingNotifier::Show(const std::string& text) {
    std::fprintf(stderr, "%s\n", text.c_str());
}
