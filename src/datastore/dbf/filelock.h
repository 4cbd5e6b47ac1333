// Locks that several processes, on one computer or across a network share,
// take on a table file for the duration of a statement.
//
// The locks are byte-range locks far beyond the end of any dBASE file (which
// cannot exceed 2 GB), so they never get in the way of reading or writing the
// data, on Windows either. Two bytes are used, as SQLite does for its own
// files: the "pending" byte gives a waiting writer priority over readers that
// come after it, and the "shared" byte is held by every reader and, alone, by
// the writer. A writer therefore waits for the readers in progress, and new
// readers wait for the writer.
#pragma once

#include <QString>

namespace dbf {

enum class LockMode { None, Shared, Exclusive };

// Takes `mode` on the open file `fd`, waiting up to `timeoutMs`. Returns false
// when the lock could not be had in that time (another process holds it) or
// the system refused it; *error then says why.
bool lockFile(int fd, LockMode mode, int timeoutMs, QString *error);

// Releases whatever lockFile took on `fd`.
void unlockFile(int fd);

} // namespace dbf
