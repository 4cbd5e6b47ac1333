// POSIX side of the file primitive. The Windows side (CreateFileW, ReadFile
// and WriteFile with an OVERLAPPED offset, LockFileEx, FlushFileBuffers) is
// this file's twin, still to be written.
#include "platform/nativefile.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileDevice>
#include <QThread>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

int fdOf(qintptr handle)
{
    return int(handle);
}

QString systemErrorText(int err)
{
    return QString::fromLocal8Bit(std::strerror(err));
}

int openRetrying(const QByteArray &path, int flags, mode_t mode = 0666)
{
    int fd;
    do {
        fd = ::open(path.constData(), flags | O_CLOEXEC, mode);
    } while (fd == -1 && errno == EINTR);
    return fd;
}

struct flock rangeOf(short type, qint64 offset, qint64 length)
{
    struct flock fl;
    std::memset(&fl, 0, sizeof fl);
    fl.l_type = type;
    fl.l_whence = SEEK_SET;
    fl.l_start = off_t(offset);
    fl.l_len = off_t(length);
    return fl;
}

// Open-file-description locks where the system has them; a file system that
// does not know them (some network shares) gets process locks instead.
#ifdef F_OFD_SETLK
int setLockCommand = F_OFD_SETLK;
int getLockCommand = F_OFD_GETLK;
#else
int setLockCommand = F_SETLK;
int getLockCommand = F_GETLK;
#endif

int setLock(int fd, struct flock &fl)
{
    for (;;) {
        if (::fcntl(fd, setLockCommand, &fl) == 0)
            return 0;
        if (errno == EINTR)
            continue;
        if (errno == EINVAL && setLockCommand != F_SETLK) {
            setLockCommand = F_SETLK;
            getLockCommand = F_GETLK;
            continue;
        }
        return errno;
    }
}

} // namespace

NativeFile::~NativeFile()
{
    close();
}

NativeFile::NativeFile(NativeFile &&other) noexcept
    : handle_(other.handle_), writable_(other.writable_), path_(std::move(other.path_)), problem_(other.problem_),
      error_(std::move(other.error_))
{
    other.handle_ = -1;
    other.writable_ = false;
}

NativeFile &NativeFile::operator=(NativeFile &&other) noexcept
{
    if (this != &other) {
        close();
        handle_ = other.handle_;
        writable_ = other.writable_;
        path_ = std::move(other.path_);
        problem_ = other.problem_;
        error_ = std::move(other.error_);
        other.handle_ = -1;
        other.writable_ = false;
    }
    return *this;
}

void NativeFile::clearProblem()
{
    problem_ = NoProblem;
    error_.clear();
}

bool NativeFile::failWithSystemError()
{
    const int err = errno;
    switch (err) {
    case ENOENT:
        problem_ = NotFound;
        break;
    case EACCES:
    case EPERM:
    case EROFS:
        problem_ = AccessDenied;
        break;
    default:
        problem_ = OtherProblem;
    }
    error_ = systemErrorText(err);
    return false;
}

bool NativeFile::open(const QString &path, OpenMode mode)
{
    close();
    clearProblem();
    path_ = path;
    const QByteArray native = QFile::encodeName(path);
    int fd = -1;
    switch (mode) {
    case ReadOnly:
        fd = openRetrying(native, O_RDONLY);
        break;
    case ReadWrite:
        fd = openRetrying(native, O_RDWR);
        break;
    case ReadWriteOrReadOnly:
        fd = openRetrying(native, O_RDWR);
        if (fd < 0 && (errno == EACCES || errno == EROFS || errno == EPERM))
            fd = openRetrying(native, O_RDONLY);
        else
            writable_ = fd >= 0;
        break;
    case ReadWriteCreate:
        fd = openRetrying(native, O_RDWR | O_CREAT);
        break;
    }
    if (fd < 0)
        return failWithSystemError();
    handle_ = fd;
    if (mode == ReadWrite || mode == ReadWriteCreate)
        writable_ = true;
    return true;
}

void NativeFile::close()
{
    if (handle_ != -1)
        ::close(fdOf(handle_));
    handle_ = -1;
    writable_ = false;
}

bool NativeFile::readAt(qint64 offset, char *buffer, qint64 length)
{
    while (length > 0) {
        const ssize_t n = ::pread(fdOf(handle_), buffer, size_t(length), off_t(offset));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return failWithSystemError();
        if (n == 0) {
            problem_ = OtherProblem;
            error_ = QStringLiteral("fisierul se termina mai devreme");
            return false;
        }
        buffer += n;
        length -= n;
        offset += n;
    }
    return true;
}

bool NativeFile::writeAt(qint64 offset, const char *buffer, qint64 length)
{
    while (length > 0) {
        const ssize_t n = ::pwrite(fdOf(handle_), buffer, size_t(length), off_t(offset));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return n < 0 ? failWithSystemError() : (problem_ = OtherProblem, false);
        buffer += n;
        length -= n;
        offset += n;
    }
    return true;
}

bool NativeFile::status(FileStatus *status)
{
    struct stat st;
    if (::fstat(fdOf(handle_), &st) != 0)
        return failWithSystemError();
    status->size = st.st_size;
    status->modifiedNs = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    status->identity = {quint64(st.st_dev), quint64(st.st_ino)};
    return true;
}

qint64 NativeFile::size()
{
    FileStatus st;
    return status(&st) ? st.size : -1;
}

bool NativeFile::truncate(qint64 length)
{
    int rc;
    do {
        rc = ::ftruncate(fdOf(handle_), off_t(length));
    } while (rc != 0 && errno == EINTR);
    return rc == 0 || failWithSystemError();
}

bool NativeFile::syncData()
{
    return ::fdatasync(fdOf(handle_)) == 0 || failWithSystemError();
}

bool NativeFile::syncAll()
{
    return ::fsync(fdOf(handle_)) == 0 || failWithSystemError();
}

void NativeFile::startWriteBack()
{
#ifdef __linux__
    ::sync_file_range(fdOf(handle_), 0, 0, SYNC_FILE_RANGE_WRITE);
#endif
}

bool NativeFile::tryLock(qint64 offset, qint64 length, LockKind kind)
{
    struct flock fl = rangeOf(kind == LockKind::Shared ? F_RDLCK : F_WRLCK, offset, length);
    const int err = setLock(fdOf(handle_), fl);
    if (err == 0)
        return true;
    if (err == EAGAIN || err == EACCES) {
        problem_ = LockBusy;
        error_ = QStringLiteral("blocat de alt proces");
    } else {
        problem_ = OtherProblem;
        error_ = QStringLiteral("sistemul a refuzat blocarea (%1)").arg(systemErrorText(err));
    }
    return false;
}

bool NativeFile::lock(qint64 offset, qint64 length, LockKind kind, int timeoutMs)
{
    const QDeadlineTimer deadline = timeoutMs < 0 ? QDeadlineTimer(QDeadlineTimer::Forever) : QDeadlineTimer(timeoutMs);
    int pauseMs = 1;
    for (;;) {
        if (tryLock(offset, length, kind))
            return true;
        if (problem_ != LockBusy || deadline.hasExpired())
            return false;
        QThread::msleep(pauseMs);
        pauseMs = pauseMs < 16 ? pauseMs * 2 : 16;
    }
}

void NativeFile::unlock(qint64 offset, qint64 length)
{
    if (handle_ == -1)
        return;
    struct flock fl = rangeOf(F_UNLCK, offset, length);
    setLock(fdOf(handle_), fl);
}

bool NativeFile::lockedElsewhere(qint64 offset, qint64 length, LockKind kind)
{
    struct flock fl = rangeOf(kind == LockKind::Shared ? F_RDLCK : F_WRLCK, offset, length);
    // Through an open-file-description query our own locks never conflict
    // with themselves, so only other open files' locks show; the classic
    // query also sees those of other processes.
    if (::fcntl(fdOf(handle_), getLockCommand, &fl) != 0)
        return false;
    return fl.l_type != F_UNLCK;
}

bool NativeFile::wholeFileLockedElsewhere()
{
    if (::flock(fdOf(handle_), LOCK_EX | LOCK_NB) == 0) {
        ::flock(fdOf(handle_), LOCK_UN);
        return false;
    }
    return errno == EWOULDBLOCK;
}

bool NativeFile::isStillAt(const QString &path)
{
    FileStatus open;
    FileIdentity onDisk;
    return status(&open) && identityOf(path, &onDisk) && open.identity == onDisk;
}

bool identityOf(const QString &path, FileIdentity *identity)
{
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return false;
    *identity = {quint64(st.st_dev), quint64(st.st_ino)};
    return true;
}

void syncFolder(const QString &folder)
{
    const int fd = openRetrying(QFile::encodeName(folder), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

LinkResult linkNewName(const QString &existing, const QString &newName)
{
    if (::link(QFile::encodeName(existing).constData(), QFile::encodeName(newName).constData()) == 0)
        return LinkResult::Linked;
    return errno == EEXIST ? LinkResult::NameTaken : LinkResult::Unsupported;
}

bool syncToDisk(QFileDevice &file)
{
    return file.flush() && ::fsync(file.handle()) == 0;
}

} // namespace platform
