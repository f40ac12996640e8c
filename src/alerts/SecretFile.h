#pragma once

#include <optional>
#include <string>

// The first line of a file holding a password or token, without its line
// end. Nothing, with the reason, when the file cannot be read, holds no
// secret, or gives other users any access (its mode must be owner-only,
// 0600 or 0400).
std::optional<std::string> ReadSecretFile(const std::string& path, std::string& problem);
