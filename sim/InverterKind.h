#pragma once

#include <optional>
#include <string>

namespace sim {

enum class InverterKind { Single, Three };

std::string KindName(InverterKind kind); // "single" or "three"
std::optional<InverterKind> ParseKind(const std::string& name);

} // namespace sim
