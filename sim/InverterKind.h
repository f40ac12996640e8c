#pragma once

#include <optional>
#include <string>

enum class InverterKind { Single, Three };

std::string KindName(InverterKind kind); // "single" or "three"
std::optional<InverterKind> ParseKind(const std::string& name);
