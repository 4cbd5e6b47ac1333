#include "platform/filehelpers.h"

#include "platform/inuse.h"
#include "platform/privatefolder.h"
#include "platform/session.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

void letMessagesRun()
{
    if (QCoreApplication::instance())
        QCoreApplication::processEvents();
}

bool isUnder(const QString &path, const QString &folder)
{
    const QString f = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath()).startsWith(f + "/");
}

// Takes `candidate` for this copy when it is free or its leftover can go.
bool takeScratchFile(const QString &candidate)
{
    if (!platform::claimInUse(candidate))
        return false;
    const QFileInfo info(candidate);
    if (!info.exists() && !info.isSymLink())
        return true;
    if (!info.isDir() && !IsFileHeldOpen(candidate) && QFile::remove(candidate))
        return true;
    platform::releaseInUse(candidate);
    return false;
}

} // namespace

bool IsFileHeldOpen(const QString &path)
{
    return platform::fileHeldOpen(path);
}

QString TempFileName(const QString &stem, const QString &ext)
{
    const QDir folder(session().programFolder);
    for (int n = 0; n < 1000; ++n) {
        const QString candidate = folder.filePath(stem + QString::number(n) + ext);
        if (takeScratchFile(candidate))
            return candidate;
        letMessagesRun();
    }
    return {};
}

QString FreshWorkFolder(const QString &stem)
{
    if (!OpenWorkFolder())
        return {};
    const QDir work(session().workFolder);
    for (int n = 0; n < 100; ++n) {
        const QString candidate = work.filePath(stem + QString::number(n));
        // A folder this copy still works in is as busy as another copy's.
        if (platform::inUseByThisCopy(candidate) && QFileInfo::exists(candidate))
            continue;
        if (!platform::claimInUse(candidate))
            continue;
        const bool emptied = platform::removeFolderTree(candidate);
        letMessagesRun();
        if (emptied && QDir().mkpath(candidate))
            return candidate;
        platform::releaseInUse(candidate);
    }
    return {};
}

bool DeleteFolder(const QString &path)
{
    if (path.isEmpty())
        return false;
    const bool removed = platform::removeFolderTree(path);
    if (removed)
        platform::releaseInUse(path);
    letMessagesRun();
    return removed;
}

bool CopyAndRemove(const QString &source, const QString &target)
{
    const QFileInfo from(source);
    const QFileInfo to(target);
    if (to.exists() && from.exists() && from.canonicalFilePath() == to.canonicalFilePath())
        return false;
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    // Written beside the target and put in place only when complete, so a
    // full disk never leaves half a file where a whole one was expected.
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    QByteArray block;
    while (!(block = in.read(64 * 1024)).isEmpty()) {
        if (out.write(block) != block.size()) {
            out.cancelWriting();
            return false;
        }
    }
    if (in.error() != QFileDevice::NoError) {
        out.cancelWriting();
        return false;
    }
    in.close();
    if (!out.commit())
        return false;
    return QFile::remove(source);
}

bool OpenWorkFolder()
{
    const QString work = session().workFolder;
    if (work.isEmpty() || !QDir().mkpath(work))
        return false;
    platform::shareInUse(work);
    return true;
}

void RemoveWorkFolder()
{
    const QString work = session().workFolder;
    if (work.isEmpty())
        return;
    for (const QString &path : platform::pathsInUseByThisCopy()) {
        if (!isUnder(path, work))
            continue;
        if (QFileInfo(path).isDir())
            DeleteFolder(path);
        else
            QFile::remove(path);
    }
    platform::releaseInUse(work);
    if (!platform::inUseByOtherCopy(work) && !platform::folderMarkedByOtherCopy(work))
        DeleteFolder(work);
}
