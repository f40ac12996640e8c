// An event line of the headless station for any port, address, time and
// serial number an inverter may send.

#include "FuzzCheck.h"
#include "FuzzInputs.h"
#include "station/EventLine.h"

#include <algorithm>
#include <array>

namespace {
constexpr std::array<const char*, 6> EVENTS{"registered", "online",      "offline",
                                            "removed",    "port-opened", "port-lost"};
// Date, time, port, address, serial number, event.
constexpr std::size_t FIELDS = 6;

std::size_t CountFields(const std::string& line) {
    std::size_t fields = 0;
    for (std::size_t start = 0; start <= line.size();) {
        const std::size_t blank = std::min(line.find(' ', start), line.size());
        Require(blank > start, "no field of an event line is empty");
        ++fields;
        start = blank + 1;
    }
    return fields;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const EventLineInput input = EventLineInput::Read(data, size);
    const std::string line = EventLine(input.when, input.comPort, input.address, input.serialNo,
                                       EVENTS[input.event % EVENTS.size()]);
    Require(std::all_of(line.begin(), line.end(), [](char c) { return c >= ' ' && c <= '~'; }),
            "an event line holds printable ASCII only");
    Require(CountFields(line) == FIELDS, "an event line always splits into the same fields");
    return 0;
}
