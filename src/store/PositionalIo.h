#pragma once

#include <cstddef>
#include <string_view>
#include <sys/types.h>

// Whole-buffer pread/pwrite: false unless every byte was transferred.
[[nodiscard]] bool ReadAt(int fd, void* buffer, std::size_t size, off_t offset);
[[nodiscard]] bool WriteAt(int fd, const void* buffer, std::size_t size, off_t offset);

// Whole-buffer write at the descriptor's offset: 0, or the errno of the write
// that failed (ENOSPC when one wrote nothing).
[[nodiscard]] int WriteAll(int fd, std::string_view bytes);

// The size of an open file; -1, with errno set, when it cannot be read.
off_t FileSize(int fd);

// Cuts a file back to size after a failed write. Its own failure goes
// unreported: the write's error is the one that tells what happened.
void CutBack(int fd, off_t size);
