#include "platform/privatefolder.h"

#include "platform/inuse.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

namespace platform {

namespace {

// The office suite writes ".~lock.<name>#" beside a document it has open.
bool officeLockBeside(const QFileInfo &file)
{
    return QFileInfo::exists(file.dir().filePath(".~lock." + file.fileName() + "#"));
}

// True when something in the tree must not be deleted by this copy.
bool treeHeld(const QString &folder)
{
    if (inUseByOtherCopy(folder))
        return true;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info = it.fileInfo();
        if (info.isSymLink())
            continue;
        if (isInUseMarker(info.fileName())) {
            if (folderMarkedByOtherCopy(info.path()))
                return true;
            continue;
        }
        if (inUseByOtherCopy(path))
            return true;
        if (info.isFile() && (lockedByOtherProcess(path) || officeLockBeside(info)))
            return true;
    }
    return false;
}

} // namespace

bool fileHeldOpen(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return false;
    return inUseByOtherCopy(path) || officeLockBeside(info) || lockedByOtherProcess(path);
}

bool removeFolderTree(const QString &folder)
{
    const QFileInfo info(folder);
    if (!info.exists() && !info.isSymLink())
        return true;
    if (!info.isDir() || info.isSymLink())
        return QFile::remove(folder);
    if (treeHeld(folder))
        return false;
    const bool removed = QDir(folder).removeRecursively();
    forgetMarksUnder(folder);
    return removed;
}

QString choosePrivateFolder(const QString &programFolder)
{
    for (int n = 0; n < 100; ++n) {
        const QString candidate = QDir(programFolder).filePath("TMP" + QString::number(n));
        if (inUseByThisCopy(candidate) && QFileInfo::exists(candidate))
            continue;
        // Claim first, so that two copies starting together never pick the same one.
        if (!claimInUse(candidate))
            continue;
        if (removeFolderTree(candidate) && QDir().mkpath(candidate))
            return candidate;
        releaseInUse(candidate);
    }
    return {};
}

} // namespace platform
