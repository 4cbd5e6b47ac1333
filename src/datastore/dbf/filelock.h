// Locks that several processes, on one computer or across a network share,
// take on a table file (or the folder's journal) for the duration of a
// statement.
//
// The locks are byte-range locks far beyond the end of any dBASE file (which
// cannot exceed 2 GB), so they never get in the way of reading or writing the
// data, on Windows either. Two bytes are used, as SQLite does for its own
// files: the "pending" byte gives a waiting writer priority over readers that
// come after it, and the "shared" byte is held by every reader and, alone, by
// the writer. A writer therefore waits for the readers in progress, and new
// readers wait for the writer.
#pragma once

#include "platform/nativefile.h"

#include <QString>

namespace dbf {

enum class LockMode { None, Shared, Exclusive };

// Takes `mode` on the open `file`, waiting up to `timeoutMs` in all. Returns
// false when the lock could not be had in that time (`*busy` then true: another
// process holds it) or the system refused it; *error then says why.
bool lockFile(platform::NativeFile &file, LockMode mode, int timeoutMs, QString *error, bool *busy = nullptr);

// Releases whatever lockFile took on `file`.
void unlockFile(platform::NativeFile &file);

} // namespace dbf
