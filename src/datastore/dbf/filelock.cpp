#include "datastore/dbf/filelock.h"

#include <QDeadlineTimer>

namespace dbf {
namespace {

using platform::LockKind;
using platform::NativeFile;

constexpr qint64 kPendingByte = 0x7FFFFFF0;
constexpr qint64 kSharedByte = 0x7FFFFFF1;

bool waitByte(NativeFile &file, qint64 byte, LockKind kind, const QDeadlineTimer &deadline, QString *error,
              bool *busy)
{
    if (file.lock(byte, 1, kind, int(deadline.remainingTime())))
        return true;
    const bool timedOut = file.problem() == NativeFile::LockBusy;
    if (busy)
        *busy = timedOut;
    if (error)
        *error = timedOut ? QStringLiteral("tabela este blocata de alt utilizator") : file.errorString();
    return false;
}

} // namespace

bool lockFile(NativeFile &file, LockMode mode, int timeoutMs, QString *error, bool *busy)
{
    if (busy)
        *busy = false;
    if (mode == LockMode::None) {
        unlockFile(file);
        return true;
    }
    const QDeadlineTimer deadline(qMax(0, timeoutMs));
    const LockKind kind = mode == LockMode::Shared ? LockKind::Shared : LockKind::Exclusive;
    if (!waitByte(file, kPendingByte, kind, deadline, error, busy))
        return false;
    const bool ok = waitByte(file, kSharedByte, kind, deadline, error, busy);
    // A reader lets go of the pending byte at once; the writer keeps it, so
    // that no new reader starts while it writes.
    if (!ok || mode == LockMode::Shared)
        file.unlock(kPendingByte, 1);
    return ok;
}

void unlockFile(NativeFile &file)
{
    file.unlock(kSharedByte, 1);
    file.unlock(kPendingByte, 1);
}

} // namespace dbf
