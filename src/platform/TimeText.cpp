#include "TimeText.h"

std::string LocalTimeText(std::time_t time) {
    std::tm local{};
    char text[32] = "";
    if (localtime_r(&time, &local) != nullptr) {
        std::strftime(text, sizeof text, "%Y/%m/%d %H:%M:%S", &local);
    }
    return text;
}
