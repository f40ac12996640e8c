#pragma once

#include <cstddef>
#include <string_view>
#include <sys/types.h>

// Whole-buffer pread/pwrite: false unless every byte was transferred.
bool ReadAt(int fd, void* buffer, std::size_t size, off_t offset);
bool WriteAt(int fd, const void* buffer, std::size_t size, off_t offset);

// Whole-buffer write at the descriptor's offset: 0, or the errno of the write
// that failed (ENOSPC when one wrote nothing).
int WriteAll(int fd, std::string_view bytes);
