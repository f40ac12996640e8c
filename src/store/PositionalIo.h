#pragma once

#include <cstddef>
#include <sys/types.h>

// Whole-buffer pread/pwrite: false unless every byte was transferred.
bool ReadAt(int fd, void* buffer, std::size_t size, off_t offset);
bool WriteAt(int fd, const void* buffer, std::size_t size, off_t offset);
