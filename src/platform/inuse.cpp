#include "platform/inuse.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QStringList>

#include "platform/nativefile.h"

#include <memory>

namespace platform {

namespace {

const char *const markerName = ".arvena3-inuse";

// One open description of each folder's marker file for the whole process:
// record locks taken through it belong to the description, so other files
// opened and closed by the process never drop them.
struct Registry {
    QMutex mutex;
    // folder -> its open marker file (null when it could not be opened)
    QHash<QString, std::shared_ptr<NativeFile>> markers;
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
qint64 offsetOf(const QString &name)
{
    const QByteArray bytes = name.toCaseFolded().toUtf8();
    quint32 h = 2166136261u;
    for (const char c : bytes) {
        h ^= static_cast<unsigned char>(c);
        h *= 16777619u;
    }
    return qint64(h & 0x3fffffffu);
}

QString markerPath(const QString &folder)
{
    return folder + "/" + markerName;
}

NativeFile *markerOf(Registry &r, const QString &folder)
{
    auto it = r.markers.find(folder);
    if (it != r.markers.end())
        return it->get();
    auto file = std::make_shared<NativeFile>();
    if (!file->open(markerPath(folder), NativeFile::ReadWriteCreate))
        file.reset();
    r.markers.insert(folder, file);
    return file.get();
}

bool mark(const QString &path, bool exclusive)
{
    const QString p = normalPath(path);
    const QFileInfo info(p);
    Registry &r = registry();
    QMutexLocker lock(&r.mutex);
    NativeFile *marker = markerOf(r, info.path());
    if (!marker)
        return true;
    if (!marker->tryLock(offsetOf(info.fileName()), 1, exclusive ? LockKind::Exclusive : LockKind::Shared))
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
    if (NativeFile *marker = r.markers.value(info.path()).get())
        marker->unlock(offsetOf(info.fileName()), 1);
}

bool inUseByOtherCopy(const QString &path)
{
    const QString p = normalPath(path);
    const QFileInfo info(p);
    Registry &r = registry();
    QMutexLocker lock(&r.mutex);
    // Probe through this process's own description: its own marks never
    // conflict with themselves, so only other processes' marks show.
    NativeFile *marker = r.markers.value(info.path()).get();
    if (!marker) {
        if (!QFileInfo::exists(markerPath(info.path())))
            return false;
        marker = markerOf(r, info.path());
        if (!marker)
            return false;
    }
    return marker->lockedElsewhere(offsetOf(info.fileName()), 1, LockKind::Exclusive);
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
    if (NativeFile *own = r.markers.value(f).get())
        return own->lockedElsewhere(0, 0, LockKind::Exclusive);
    NativeFile probe;
    return probe.open(markerPath(f), NativeFile::ReadOnly) && probe.lockedElsewhere(0, 0, LockKind::Exclusive);
}

void forgetMarksUnder(const QString &folder)
{
    const QString f = normalPath(folder);
    const auto under = [&f](const QString &p) { return p == f || p.startsWith(f + "/"); };
    Registry &r = registry();
    QMutexLocker lock(&r.mutex);
    for (auto it = r.markers.begin(); it != r.markers.end();) {
        if (under(it.key())) {
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
    NativeFile file;
    if (!file.open(path, NativeFile::ReadOnly))
        return false;
    // Record locks (word processors, other database engines), then the
    // whole-file locks some programs take instead.
    return file.lockedElsewhere(0, 0, LockKind::Exclusive) || file.wholeFileLockedElsewhere();
}

} // namespace platform
