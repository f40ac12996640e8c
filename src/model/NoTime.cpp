#include "NoTime.h"

namespace {
std::time_t LocalMidnight2000() {
    std::tm calendar{};
    calendar.tm_year = 100;
    calendar.tm_mon = 0;
    calendar.tm_mday = 1;
    calendar.tm_isdst = -1;
    return std::mktime(&calendar);
}
} // namespace

const std::time_t g_tNoTime = LocalMidnight2000();
