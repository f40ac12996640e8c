#include "InverterKind.h"

namespace sim {

std::string KindName(InverterKind kind) {
    return kind == InverterKind::Three ? "three" : "single";
}

std::optional<InverterKind> ParseKind(const std::string& name) {
    if (name == "single") {
        return InverterKind::Single;
    }
    if (name == "three") {
        return InverterKind::Three;
    }
    return std::nullopt;
}

} // namespace sim
