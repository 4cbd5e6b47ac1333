#include "datastore/dbf/filelock.h"

#include <QElapsedTimer>
#include <QThread>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace dbf {
namespace {

constexpr off_t kPendingByte = 0x7FFFFFF0;
constexpr off_t kSharedByte = 0x7FFFFFF1;

// Open-file-description locks belong to the descriptor, not to the process,
// so closing some other descriptor of the same file (a copy made by a backup,
// say) does not silently drop them.
#ifdef F_OFD_SETLK
constexpr int kSetLock = F_OFD_SETLK;
#else
constexpr int kSetLock = F_SETLK;
#endif

// One attempt; returns 0, or the errno of the refusal. A file system that
// does not know descriptor locks (some network shares) gets process locks.
int tryRange(int fd, short type, off_t start)
{
    static int command = kSetLock;
    struct flock fl;
    std::memset(&fl, 0, sizeof fl);
    fl.l_type = type;
    fl.l_whence = SEEK_SET;
    fl.l_start = start;
    fl.l_len = 1;
    if (fcntl(fd, command, &fl) == 0)
        return 0;
    if (errno == EINVAL && command != F_SETLK) {
        command = F_SETLK;
        return tryRange(fd, type, start);
    }
    return errno;
}

bool waitRange(int fd, short type, off_t start, const QElapsedTimer &clock, int timeoutMs, QString *error)
{
    int pause = 1;
    for (;;) {
        const int err = tryRange(fd, type, start);
        if (err == 0)
            return true;
        if (err != EAGAIN && err != EACCES && err != EINTR) {
            if (error)
                *error = QStringLiteral("sistemul a refuzat blocarea (%1)").arg(QString::fromLocal8Bit(strerror(err)));
            return false;
        }
        if (clock.elapsed() >= timeoutMs) {
            if (error)
                *error = QStringLiteral("tabela este blocata de alt utilizator");
            return false;
        }
        QThread::msleep(pause);
        pause = pause < 16 ? pause * 2 : 16;
    }
}

} // namespace

bool lockFile(int fd, LockMode mode, int timeoutMs, QString *error)
{
    if (mode == LockMode::None) {
        unlockFile(fd);
        return true;
    }
    QElapsedTimer clock;
    clock.start();
    if (mode == LockMode::Shared) {
        if (!waitRange(fd, F_RDLCK, kPendingByte, clock, timeoutMs, error))
            return false;
        const bool ok = waitRange(fd, F_RDLCK, kSharedByte, clock, timeoutMs, error);
        tryRange(fd, F_UNLCK, kPendingByte);
        return ok;
    }
    if (!waitRange(fd, F_WRLCK, kPendingByte, clock, timeoutMs, error))
        return false;
    if (!waitRange(fd, F_WRLCK, kSharedByte, clock, timeoutMs, error)) {
        tryRange(fd, F_UNLCK, kPendingByte);
        return false;
    }
    return true;
}

void unlockFile(int fd)
{
    tryRange(fd, F_UNLCK, kSharedByte);
    tryRange(fd, F_UNLCK, kPendingByte);
}

} // namespace dbf
