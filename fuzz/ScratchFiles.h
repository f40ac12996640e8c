#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// A directory of this process's own under $TMPDIR, removed at exit.
const std::string& ScratchDirectory();

// Replaces the file's contents with the bytes.
void WriteWholeFile(const std::string& path, const std::uint8_t* data, std::size_t size);
