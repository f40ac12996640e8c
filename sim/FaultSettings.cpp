#include "FaultSettings.h"

namespace sim {

const FaultCondition* FaultSettings::ActiveCondition(std::int64_t now) const {
    if (condition) {
        return &*condition;
    }
    if (episode && episode->IsActive(now)) {
        return &episode->condition;
    }
    return nullptr;
}

std::string FaultSettings::Describe() const {
    std::string text;
    const auto add = [&text](const std::string& item) { text += (text.empty() ? "" : " ") + item; };
    if (silent) {
        add("silent");
    }
    if (nak) {
        add("nak");
    }
    if (badChecksum) {
        add("badsum");
    }
    if (trailingByte) {
        add("trailing");
    }
    if (misaddressed) {
        add("misaddress");
    }
    if (condition) {
        add("fault(" + condition->Describe() + ")");
    }
    if (episode) {
        add("episode(every=" + std::to_string(episode->every) + " lasting=" +
            std::to_string(episode->lasting) + " " + episode->condition.Describe() + ")");
    }
    if (eTotalShift != 0) {
        add("etotal-shift=" + std::to_string(eTotalShift));
    }
    return text.empty() ? "none" : text;
}

} // namespace sim
