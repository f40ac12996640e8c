#include "BusLayout.h"

#include "InverterProfile.h"
#include "TextNumbers.h"

namespace sim {

namespace {
// KIND[/RATED][*COUNT]
std::optional<BusLayout::Units> ParseUnits(const std::string& text) {
    const std::size_t star = text.find('*');
    const std::string kindAndRating = text.substr(0, star);
    const auto count = star == std::string::npos ? 1LL : ParseNumber(text.substr(star + 1));
    const std::vector<std::string> parts = SplitText(kindAndRating, '/');
    const auto kind = ParseKind(parts[0]);
    const auto rated = parts.size() == 2 ? ParseNumber(parts[1]) : 0LL;
    if (!kind || parts.size() > 2 || !count || *count < 1 || *count > MAX_INVERTERS_PER_BUS ||
        !rated || *rated < 0 || *rated > MAX_RATED_POWER_W || (parts.size() == 2 && *rated == 0)) {
        return std::nullopt;
    }
    return BusLayout::Units{*kind, static_cast<int>(*rated), static_cast<int>(*count)};
}
} // namespace

int BusLayout::InverterCount() const {
    int count = 0;
    for (const Units& group : units) {
        count += group.count;
    }
    return count;
}

std::optional<BusLayout> BusLayout::Parse(const std::string& text, std::string& error) {
    const std::size_t colon = text.find(':');
    const auto port = ParsePortName(text.substr(0, colon));
    if (colon == std::string::npos || !port) {
        error = "bus '" + text + "': expected COM<n>:KIND[/RATED][*COUNT][,...]";
        return std::nullopt;
    }
    BusLayout layout;
    layout.port = *port;
    for (const std::string& item : SplitText(text.substr(colon + 1), ',')) {
        const auto units = ParseUnits(item);
        if (!units) {
            error = "bus '" + text + "': bad inverters '" + item +
                    "' (KIND single or three, RATED 1 to " + std::to_string(MAX_RATED_POWER_W) +
                    " W)";
            return std::nullopt;
        }
        layout.units.push_back(*units);
    }
    if (layout.InverterCount() > MAX_INVERTERS_PER_BUS) {
        error =
            "bus '" + text + "': more than " + std::to_string(MAX_INVERTERS_PER_BUS) + " inverters";
        return std::nullopt;
    }
    return layout;
}

} // namespace sim
