#include "platform/inuse.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QStringList>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace platform {

namespace {

const char *const markerName = ".arvena3-inuse";

// One open description of each folder's marker file for the whole process:
// record locks taken through it belong to the description, so other files
// opened and closed by the process never drop them.
struct Registry {
    QMutex mutex;
    // folder -> descriptor of its marker file (-1 when it could not be opened)
    QHash<QString, int> markers;
    // marked path -> true for a claim, false for a share
    QHash<QString, bool> marked;
    QStringList order;
};

Registry &registry()
{
    static Registry r;
    return r;
}

QString normalPath(const QString &path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

// Stable across processes and builds (FNV-1a over the case-folded name), so
// two copies of the program agree on the byte that stands for an entry.
// Case is folded because names are compared as Windows does.
off_t offsetOf(const QString &name)
{
    const QByteArray bytes = name.toCaseFolded().toUtf8();
    quint32 h = 2166136261u;
    for (const char c : bytes) {
        h ^= static_cast<unsigned char>(c);
        h *= 16777619u;
    }
    return static_cast<off_t>(h & 0x3fffffffu);
}

int markerOf(Registry &r, const QString &folder)
{
    auto it = r.markers.find(folder);
    if (it != r.markers.end())
        return *it;
    const QByteArray file = QFile::encodeName(folder + "/" + markerName);
    int fd = ::open(file.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    r.markers.insert(folder, fd);
    return fd;
}

struct flock lockAt(short type, off_t offset)
{
    struct flock fl {};
    fl.l_type = type;
    fl.l_whence = SEEK_SET;
    fl.l_start = offset;
    fl.l_len = 1;
    return fl;
}

bool mark(const QString &path, bool exclusive)
{
    const QString p = normalPath(path);
    const QFileInfo info(p);
    Registry &r = registry();
    QMutexLocker lock(&r.mutex);
    const int fd = markerOf(r, info.path());
    if (fd < 0)
        return true;
    struct flock fl = lockAt(exclusive ? F_WRLCK : F_RDLCK, offsetOf(info.fileName()));
    if (::fcntl(fd, F_OFD_SETLK, &fl) != 0)
        return false;
    if (!r.marked.contains(p))
        r.order.append(p);
    r.marked.insert(p, exclusive);
    return true;
}

} // namespace

bool claimInUse(const QString &path)
{
    return mark(path, true);
}

bool shareInUse(const QString &path)
{
    return mark(path, false);
}

void releaseInUse(const QString &path)
{
    const QString p = normalPath(path);
    const QFileInfo info(p);
    Registry &r = registry();
    QMutexLocker lock(&r.mutex);
    if (!r.marked.remove(p))
        return;
    r.order.removeAll(p);
    const int fd = r.markers.value(info.path(), -1);
    if (fd < 0)
        return;
    struct flock fl = lockAt(F_UNLCK, offsetOf(info.fileName()));
    ::fcntl(fd, F_OFD_SETLK, &fl);
}

bool inUseByOtherCopy(const QString &path)
{
    const QString p = normalPath(path);
    const QFileInfo info(p);
    Registry &r = registry();
    QMutexLocker lock(&r.mutex);
    // Probe through this process's own description: its own marks never
    // conflict with themselves, so only other processes' marks show.
    int fd = r.markers.value(info.path(), -1);
    if (fd < 0) {
        const QByteArray file = QFile::encodeName(info.path() + "/" + markerName);
        if (!QFileInfo::exists(QFile::decodeName(file)))
            return false;
        fd = markerOf(r, info.path());
        if (fd < 0)
            return false;
    }
    struct flock fl = lockAt(F_WRLCK, offsetOf(info.fileName()));
    if (::fcntl(fd, F_OFD_GETLK, &fl) != 0)
        return false;
    return fl.l_type != F_UNLCK;
}

bool inUseByThisCopy(const QString &path)
{
    Registry &r = registry();
    QMutexLocker lock(&r.mutex);
    return r.marked.contains(normalPath(path));
}

QStringList pathsInUseByThisCopy()
{
    Registry &r = registry();
    QMutexLocker lock(&r.mutex);
    return r.order;
}

bool isInUseMarker(const QString &name)
{
    return name == QLatin1String(markerName);
}

bool folderMarkedByOtherCopy(const QString &folder)
{
    const QString f = normalPath(folder);
    Registry &r = registry();
    QMutexLocker lock(&r.mutex);
    struct flock fl = lockAt(F_WRLCK, 0);
    fl.l_len = 0;
    const int own = r.markers.value(f, -1);
    if (own >= 0)
        return ::fcntl(own, F_OFD_GETLK, &fl) == 0 && fl.l_type != F_UNLCK;
    const QByteArray file = QFile::encodeName(f + "/" + markerName);
    const int fd = ::open(file.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool held = ::fcntl(fd, F_GETLK, &fl) == 0 && fl.l_type != F_UNLCK;
    ::close(fd);
    return held;
}

void forgetMarksUnder(const QString &folder)
{
    const QString f = normalPath(folder);
    const auto under = [&f](const QString &p) { return p == f || p.startsWith(f + "/"); };
    Registry &r = registry();
    QMutexLocker lock(&r.mutex);
    for (auto it = r.markers.begin(); it != r.markers.end();) {
        if (under(it.key())) {
            if (*it >= 0)
                ::close(*it);
            it = r.markers.erase(it);
        } else {
            ++it;
        }
    }
    // The mark of the folder itself lives in its parent's marker file and stays:
    // a folder emptied and made anew is still this copy's.
    for (auto it = r.marked.begin(); it != r.marked.end();) {
        if (it.key().startsWith(f + "/")) {
            r.order.removeAll(it.key());
            it = r.marked.erase(it);
        } else {
            ++it;
        }
    }
}

bool lockedByOtherProcess(const QString &path)
{
    const QByteArray file = QFile::encodeName(path);
    const int fd = ::open(file.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return false;
    bool locked = false;
    // Record locks of other processes (word processors, other database engines).
    struct flock fl = lockAt(F_WRLCK, 0);
    fl.l_len = 0;
    if (::fcntl(fd, F_GETLK, &fl) == 0 && fl.l_type != F_UNLCK)
        locked = true;
    // Whole-file locks taken with flock().
    if (!locked) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
            ::flock(fd, LOCK_UN);
        else if (errno == EWOULDBLOCK)
            locked = true;
    }
    ::close(fd);
    return locked;
}

} // namespace platform
