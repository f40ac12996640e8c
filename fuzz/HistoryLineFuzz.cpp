// A line of a history file as the summary reads it back: any bytes, never a
// crash, and a line it takes holds a real local time of a one- or three-phase
// inverter.

#include "FuzzCheck.h"
#include "store/HistoryLineParser.h"

#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view line(reinterpret_cast<const char*>(data), size);
    IsHistoryHeader(line);
    if (const auto values = ParseHistoryLine(line)) {
        Require(values->phases == 1 || values->phases == 3, "a line is of one or three phases");
        const CivilTime& time = values->time;
        Require(time.month >= 1 && time.month <= 12 && time.day >= 1 && time.day <= 31,
                "a line's date is a calendar date");
        Require(time.hour >= 0 && time.hour < 24 && time.minute >= 0 && time.minute < 60 &&
                    time.second >= 0 && time.second < 61,
                "a line's time is a clock time");
    }
    return 0;
}
