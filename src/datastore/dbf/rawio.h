// Whole-buffer positioned reads and writes on a file descriptor: the table
// files and the journal both need them, and a short read or write must never
// be taken for a complete one.
#pragma once

#include <cstddef>
#include <sys/types.h>

namespace dbf {

// Reads exactly `length` bytes at `offset`; false on an error or at end of file.
bool readFully(int fd, char *buffer, size_t length, off_t offset);

// Writes exactly `length` bytes at `offset`; false on an error.
bool writeFully(int fd, const char *buffer, size_t length, off_t offset);

} // namespace dbf
