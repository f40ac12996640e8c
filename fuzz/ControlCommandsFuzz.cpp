// Lines on the simulator's control channel, run against a small plant: each
// gets one line back, starting with "ok" or "error".

#include "FuzzCheck.h"
#include "sim/ControlCommands.h"
#include "tests/sim/FakeSimPlant.h"

#include <algorithm>
#include <cstdint>

namespace {
class FixedSimClock : public sim::SimClock {
public:
    std::int64_t Now() const override { return 1781524800; }
};

bool StartsWithWord(const std::string& reply, const std::string& word) {
    return reply.compare(0, word.size(), word) == 0 &&
           (reply.size() == word.size() || reply[word.size()] == ' ');
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const sim::InverterFactory factory;
    const FixedSimClock clock;
    simtest::FakePlant plant;
    plant.AddExampleBuses(factory);
    sim::ControlCommands commands(plant, factory, clock);
    const std::string text(reinterpret_cast<const char*>(data), size);
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        const std::string reply = commands.Execute(line);
        Require(StartsWithWord(reply, "ok") || StartsWithWord(reply, "error"),
                "a reply starts with \"ok\" or \"error\"");
        Require(reply.find('\n') == std::string::npos, "a reply is one line");
        start = end + 1;
    }
    return 0;
}
