#include "backup/backupfiles.h"

#include "backup/archive.h"

#include "datastore/dbf/dbfformat.h"
#include "datastore/dbf/filelock.h"
#include "datastore/dbf/journal.h"
#include "datastore/dbf/tableops.h"
#include "platform/inuse.h"
#include "platform/nativefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <memory>
#include <vector>

namespace backup {
namespace {

int lockWaitMs = 20000;

bool isTable(const QString &name)
{
    return name.endsWith(QLatin1String(".dbf"), Qt::CaseInsensitive);
}

// A table file opened and locked for reading for the length of the copy.
struct HeldTable {
    platform::NativeFile file;
};

} // namespace

bool IsEngineFile(const QString &name)
{
    return name.compare(QLatin1String(dbf::kJournalFileName), Qt::CaseInsensitive) == 0
           || name.endsWith(QLatin1String(".lck"), Qt::CaseInsensitive) || platform::isInUseMarker(name)
           || (name.startsWith(QLatin1Char('.'))
               && (name.endsWith(QLatin1String(".new")) || name.contains(QLatin1String(".new."))));
}

QStringList BackupFileNames(const QString &folder)
{
    QStringList names;
    const QFileInfoList entries = QDir(folder).entryInfoList(QDir::Files | QDir::Hidden | QDir::System, QDir::NoSort);
    for (const QFileInfo &info : entries) {
        if (info.isSymLink() || !info.isFile() || info.size() <= 0 || IsEngineFile(info.fileName()))
            continue;
        names.append(info.fileName());
    }
    std::sort(names.begin(), names.end(), [](const QString &a, const QString &b) {
        const int c = a.compare(b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
    return names;
}

void SetBackupLockWait(int milliseconds)
{
    lockWaitMs = milliseconds;
    dbf::FolderJournal::setLockTimeout(milliseconds);
}

int BackupLockWait()
{
    return lockWaitMs;
}

bool CopyDataFolder(const QString &dataFolder, const QString &copyFolder, QString *reason)
{
    try {
        // No transaction of another workstation can start or be half done
        // while this is held; one left by a dead writer is rolled back first.
        dbf::FolderStatement hold(dataFolder);
        const QStringList names = BackupFileNames(dataFolder);
        if (names.isEmpty()) {
            *reason = QStringLiteral("dosarul de date \"%1\" nu are niciun fisier de salvat").arg(dataFolder);
            return false;
        }
        const QDir from(dataFolder);
        // Every table stays locked for reading until the last file is copied,
        // so the copy is one moment of the data, not one per table.
        std::vector<std::unique_ptr<HeldTable>> held;
        for (const QString &name : names) {
            if (!isTable(name))
                continue;
            auto table = std::make_unique<HeldTable>();
            QString why;
            if (!table->file.open(from.filePath(name), platform::NativeFile::ReadOnly)
                || !dbf::lockFile(table->file, dbf::LockMode::Shared, lockWaitMs, &why)) {
                *reason = QStringLiteral("tabela \"%1\" este ocupata de alt calculator (%2)")
                              .arg(name, why.isEmpty() ? table->file.errorString() : why);
                return false;
            }
            held.push_back(std::move(table));
        }
        const QDir to(copyFolder);
        for (const QString &name : names) {
            if (QFileInfo(from.filePath(name)).size() > kMaxEntrySize) {
                *reason = QStringLiteral("fisierul \"%1\" este prea mare pentru o arhiva").arg(name);
                return false;
            }
        }
        // A scratch copy, removed once packed: the archive is what gets synced.
        for (const QString &name : names) {
            QFile source(from.filePath(name));
            if (!source.copy(to.filePath(name))) {
                *reason = QStringLiteral("fisierul \"%1\" nu poate fi copiat (%2)").arg(name, source.errorString());
                return false;
            }
        }
        for (auto &table : held)
            dbf::unlockFile(table->file);
        return true;
    } catch (const dbf::DbfError &e) {
        *reason = e.message();
        return false;
    }
}

void CleanPackedCopy(const QString &copyFolder)
{
    const QDir dir(copyFolder);
    for (const QString &name : dir.entryList(QDir::Files | QDir::Hidden)) {
        if (isTable(name))
            dbf::DetachProductionIndex(dir.filePath(name));
    }
    for (const QString &name : dir.entryList(QDir::Files | QDir::Hidden)) {
        if (name.endsWith(QLatin1String(".mdx"), Qt::CaseInsensitive))
            QFile::remove(dir.filePath(name));
    }
}

bool SameFolder(const QString &path, const QString &folder)
{
    const auto canonical = [](const QString &p) {
        const QFileInfo info(p);
        const QString c = info.canonicalFilePath();
        return QDir::cleanPath(c.isEmpty() ? info.absoluteFilePath() : c);
    };
    return !path.isEmpty() && !folder.isEmpty()
           && canonical(path).compare(canonical(folder), Qt::CaseInsensitive) == 0;
}

bool CopyFileSynced(const QString &from, const QString &to, QString *reason)
{
    QFile in(from);
    QSaveFile out(to);
    bool ok = in.open(QIODevice::ReadOnly) && out.open(QIODevice::WriteOnly);
    QByteArray block;
    while (ok && !(block = in.read(1 << 20)).isEmpty())
        ok = out.write(block) == block.size();
    ok = ok && in.error() == QFileDevice::NoError && out.commit();
    if (!ok)
        *reason = QStringLiteral("fisierul \"%1\" nu poate fi copiat (%2)")
                      .arg(QFileInfo(from).fileName(),
                           in.error() != QFileDevice::NoError ? in.errorString() : out.errorString());
    return ok;
}

} // namespace backup
