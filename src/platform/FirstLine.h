#pragma once

#include "Outcome.h"

#include <string>

// The first line of a text file without its line end (LF or CR LF); the
// reason, naming the file, when it cannot be read.
Outcome<std::string> ReadFirstLine(const std::string& path);

// The same for a file that holds a secret, refused when users other than its
// owner and group may read or write it.
Outcome<std::string> ReadSecretLine(const std::string& path);

// The whole of such a file, a private key say.
Outcome<std::string> ReadSecretFile(const std::string& path);
