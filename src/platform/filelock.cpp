#include "platform/filelock.h"

#include <QFile>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace platform {

#ifdef Q_OS_WIN

FileLock::FileLock(const QString &path)
{
    HANDLE h = CreateFileW(reinterpret_cast<LPCWSTR>(path.utf16()), GENERIC_READ | GENERIC_WRITE,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        error_ = QStringLiteral("cannot open '%1' (error %2)").arg(path).arg(GetLastError());
        return;
    }
    handle_ = reinterpret_cast<qintptr>(h);
    OVERLAPPED ov = {};
    if (!LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &ov)) {
        error_ = QStringLiteral("cannot lock '%1' (error %2)").arg(path).arg(GetLastError());
        return;
    }
    locked_ = true;
}

FileLock::~FileLock()
{
    if (handle_ == -1)
        return;
    HANDLE h = reinterpret_cast<HANDLE>(handle_);
    if (locked_) {
        OVERLAPPED ov = {};
        UnlockFileEx(h, 0, 1, 0, &ov);
    }
    CloseHandle(h);
}

#else

FileLock::FileLock(const QString &path)
{
    const QByteArray native = QFile::encodeName(path);
    int fd;
    do {
        fd = ::open(native.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    } while (fd == -1 && errno == EINTR);
    if (fd == -1) {
        error_ = QStringLiteral("cannot open '%1': %2").arg(path, QString::fromLocal8Bit(std::strerror(errno)));
        return;
    }
    handle_ = fd;
    struct flock request = {};
    request.l_type = F_WRLCK;
    request.l_whence = SEEK_SET;
    request.l_start = 0;
    request.l_len = 1;
    int rc;
    do {
        rc = ::fcntl(fd, F_SETLKW, &request);
    } while (rc == -1 && errno == EINTR);
    if (rc == -1) {
        error_ = QStringLiteral("cannot lock '%1': %2").arg(path, QString::fromLocal8Bit(std::strerror(errno)));
        return;
    }
    locked_ = true;
}

FileLock::~FileLock()
{
    // Closing the descriptor releases the process's locks on the file.
    if (handle_ != -1)
        ::close(int(handle_));
}

#endif

} // namespace platform
