#include "backup/pack.h"

#include "backup/archive.h"
#include "backup/backupfiles.h"
#include "platform/filehelpers.h"
#include "platform/prompter.h"
#include "platform/session.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSaveFile>

namespace backup {
namespace {

// Steps of the progress bar while packing.
constexpr int kPackSteps = 100;

void letMessagesRun()
{
    if (QCoreApplication::instance())
        QCoreApplication::processEvents();
}

PackResult failed(bool copyFailed, const QString &reason)
{
    PackResult result;
    result.copyFailed = copyFailed;
    result.reason = reason;
    return result;
}

bool writeArchiveFile(const QString &copyFolder, const QString &target, Prompter &prompter, int threads,
                      QString *reason)
{
    const QStringList names = BackupFileNames(copyFolder);
    // The bar follows the bytes packed, in hundredths: a data folder is a few
    // large tables, and a bar that moved once every ten files would stand
    // still for the whole of a long backup.
    prompter.ProgressBegin(QStringLiteral("Salvez datele..."), kPackSteps);
    int stepped = 0;
    const ArchiveProgress progress = [&](qint64 done, qint64 total) {
        for (; total > 0 && stepped < done * kPackSteps / total; ++stepped)
            prompter.ProgressStep();
        letMessagesRun();
    };
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly)) {
        *reason = QStringLiteral("arhiva \"%1\" nu poate fi scrisa (%2)").arg(target, out.errorString());
        return false;
    }
    if (!WriteArchive(copyFolder, names, out, progress, reason, threads))
        return false;
    if (!out.commit()) {
        *reason = QStringLiteral("arhiva \"%1\" nu poate fi scrisa (%2)").arg(target, out.errorString());
        return false;
    }
    return true;
}

} // namespace

PackResult Pack(const QString &target, Prompter &prompter, int threads)
{
    const QString dataFolder = session().dataFolder;
    if (SameFolder(QFileInfo(target).absolutePath(), dataFolder))
        return failed(false, QStringLiteral("arhiva nu poate sta in dosarul de date"));
    const QString copyFolder = FreshWorkFolder(QStringLiteral("SaveTmp"));
    if (copyFolder.isEmpty())
        return failed(true, QStringLiteral("dosarul de lucru nu poate fi creat in ") + session().workFolder);
    PackResult result;
    prompter.ProgressBegin(QStringLiteral("Pregatesc datele..."), 0);
    if (!CopyDataFolder(dataFolder, copyFolder, &result.reason)) {
        result.copyFailed = true;
    } else {
        CleanPackedCopy(copyFolder);
        result.ok = writeArchiveFile(copyFolder, target, prompter, threads, &result.reason);
    }
    prompter.ProgressEnd();
    DeleteFolder(copyFolder);
    return result;
}

bool Unpack(const QString &archive, const QString &folder, Prompter &prompter, QString *reason,
            const QString &progressText)
{
    QString why;
    bool begun = false;
    qint64 position = 0;
    const ArchiveProgress progress = [&](qint64 done, qint64 count) {
        if (!begun) {
            prompter.ProgressBegin(progressText, int(count));
            begun = true;
        }
        for (; position < done; ++position)
            prompter.ProgressStep();
        letMessagesRun();
    };
    const bool ok = UnpackArchive(archive, folder, progress, &why);
    if (begun)
        prompter.ProgressEnd();
    if (reason)
        *reason = why;
    return ok;
}

} // namespace backup
