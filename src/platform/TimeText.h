#pragma once

#include <ctime>
#include <string>

// A time as the station writes it everywhere: local time, "%Y/%m/%d %H:%M:%S".
std::string LocalTimeText(std::time_t time);
