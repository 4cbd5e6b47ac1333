#include "backup/backupactions.h"

#include "backup/backupfiles.h"
#include "backup/pack.h"
#include "backup/restore.h"
#include "datastore/settings.h"
#include "platform/filehelpers.h"
#include "platform/prompter.h"
#include "platform/session.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace backup {
namespace {

QString withBackupExtension(const QString &path)
{
    return QFileInfo(path).suffix().isEmpty() ? path + QLatin1String(kBackupExtension) : path;
}

bool inDataFolders(const QString &folder)
{
    const Session &s = session();
    return SameFolder(folder, s.dataFolder) || SameFolder(folder, s.localDataFolder);
}

void restoreFailed(Prompter &prompter)
{
    prompter.Mesaj(QStringLiteral("Restaurare date"), QStringLiteral("Restaurare esuata!"), ButtonOk, KindError);
}

// Removes the engine's files that an archive may carry: they describe work
// in progress of another program and must never meet our tables.
void dropEngineFiles(const QString &folder)
{
    const QDir dir(folder);
    for (const QString &name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (IsEngineFile(name))
            QFile::remove(dir.filePath(name));
    }
}

// Working inside an archive whose save failed: the day's work moves out of
// the work folder (removed at exit) into the program's own folder. Empty when
// it could not be kept.
QString keepWorkingCopy()
{
    const Session &s = session();
    const QDir home(QFileInfo(s.workFolder).absolutePath());
    const QString stem = QStringLiteral("Nesalvat_") + QFileInfo(s.openedBackup).completeBaseName() + QLatin1Char('_');
    QString kept;
    for (int n = 0; n < 1000 && kept.isEmpty(); ++n) {
        const QString candidate = home.filePath(stem + QString::number(n));
        if (!QFileInfo::exists(candidate))
            kept = candidate;
    }
    if (kept.isEmpty() || QDir().rename(s.dataFolder, kept))
        return kept;
    // Another disk: copied, so that the work folder's removal cannot take it.
    const QDir data(s.dataFolder);
    if (!QDir().mkpath(kept))
        return {};
    for (const QString &name : data.entryList(QDir::Files | QDir::Hidden)) {
        if (!QFile::copy(data.filePath(name), QDir(kept).filePath(name)))
            return {};
    }
    return kept;
}

} // namespace

bool IsBackupArchivePath(const QString &path)
{
    const QFileInfo info(path);
    return info.isFile() && path.endsWith(QLatin1String(kBackupExtension), Qt::CaseInsensitive);
}

bool SaveBackupCopy(Prompter &prompter, BackupFileChooser &chooser, const RemoteCopyStarter &remote,
                    const std::function<void()> &hideDialog)
{
    QString file = chooser.chooseSaveFile();
    if (file.isEmpty())
        return false;
    file = withBackupExtension(QFileInfo(file).absoluteFilePath());
    if (inDataFolders(QFileInfo(file).absolutePath())) {
        prompter.Mesaj(QStringLiteral("Salvare date"), QStringLiteral("\rNu puteti salva aici!"), ButtonOk, KindError);
        return false;
    }
    if (QFileInfo::exists(file)
        && prompter.Mesaj(QStringLiteral("Atentionare"), QStringLiteral("\rVreti sa inlocuiti salvarea ") + file + "?",
                          ButtonDa | ButtonNu, KindWarning)
               != ResultYes)
        return false;
    if (hideDialog)
        hideDialog();
    const PackResult packed = Pack(file, prompter);
    if (!packed.ok) {
        prompter.Mesaj(QStringLiteral("Salvare"), QStringLiteral("\rNu pot scrie pe harddisk!!"), ButtonOk, KindError);
        return false;
    }
    prompter.Mesaj(QStringLiteral("Informatie"), QStringLiteral("\rSalvare incheiata cu succes !"), ButtonOk,
                   KindInformation);
    if (remote
        && prompter.Mesaj(QStringLiteral("Copie la Distanta"), QStringLiteral("\rDoriti sa transmiteti salvarea si pe Server?"),
                          ButtonDa | ButtonNu, KindConfirmation)
               == ResultYes)
        remote(file);
    return true;
}

bool RestoreBackup(Prompter &prompter, BackupFileChooser &chooser, const std::function<void()> &hideDialog)
{
    if (prompter.Mesaj(QStringLiteral("Incarcare date"),
                       QStringLiteral("Prin preluarea datelor dintr-o salvare anterioara,\r"
                                      "se sterg datele curente si sunt inlocuite cu cele din salvare!\r"
                                      "Continuam operatiunea?"),
                       ButtonDa | ButtonNu, KindWarning)
        != ResultYes)
        return false;
    const QString archive = chooser.chooseOpenFile();
    if (archive.isEmpty())
        return false;
    if (hideDialog)
        hideDialog();
    return RestoreFromArchive(archive, prompter);
}

bool RestoreFromArchive(const QString &archive, Prompter &prompter, QString *reason)
{
    QString why;
    const QString unpackFolder = FreshWorkFolder(QStringLiteral("GMT"));
    if (unpackFolder.isEmpty()) {
        prompter.Mesaj(QStringLiteral("Incarcare date"), QStringLiteral("\rNu pot scrie pe harddisk!"), ButtonOk,
                       KindError);
        if (reason)
            *reason = QStringLiteral("dosarul de lucru nu poate fi creat in ") + session().workFolder;
        return false;
    }
    bool ok = Unpack(archive, unpackFolder, prompter, &why);
    if (ok) {
        dropEngineFiles(unpackFolder);
        const Session &s = session();
        prompter.ProgressBegin(QStringLiteral("Inlocuiesc datele..."),
                               int(BackupFileNames(unpackFolder).size() + BackupFileNames(s.dataFolder).size()));
        ok = ReplaceDataFolder(unpackFolder, s.dataFolder, s.programFolder, &why, [&] { prompter.ProgressStep(); });
    }
    prompter.ProgressEnd();
    DeleteFolder(unpackFolder);
    if (reason)
        *reason = why;
    if (!ok) {
        restoreFailed(prompter);
        return false;
    }
    prompter.Mesaj(QStringLiteral("Informatie"),
                   QStringLiteral("Restaurare incheiata cu succes !\r\nVa rog sa porniti programul din nou !"),
                   ButtonOk, KindInformation);
    return true;
}

bool AskClosingBackup(Prompter &prompter, bool unlocked)
{
    if (!unlocked)
        return false;
    const Session &s = session();
    // Inside an archive the only copy is the archive itself: declining the
    // changes must not bring them back in through the daily copy.
    if (!s.openedBackup.isEmpty())
        return prompter.Mesaj(QStringLiteral("Salvare modificari"), QStringLiteral("\rDoriti sa salvati modificarile ?"),
                              ButtonDa | ButtonNu, KindConfirmation)
               == ResultYes;
    if (!SameFolder(s.dataFolder, s.localDataFolder))
        return false;
    const QString folder = ReadMachineSetting(QStringLiteral("CALESALVARI")).trimmed();
    if (folder.isEmpty() || folder == QLatin1String("-"))
        return false;
    return prompter.Mesaj(QStringLiteral("Salvare Automata"), QStringLiteral("\rDoriti sa facem o copie la datele de azi?"),
                          ButtonDa | ButtonNu, KindConfirmation)
           == ResultYes;
}

QString ClosingBackupTarget(const QString &folder, const QDate &day)
{
    const QDir dir(folder);
    const QString stem = day.toString(QStringLiteral("ddMMyyyy")) + QLatin1Char('_');
    for (int n = 0;; ++n) {
        const QString candidate = dir.filePath(stem + QString::number(n) + QLatin1String(kBackupExtension));
        if (!QFileInfo::exists(candidate))
            return candidate;
    }
}

ClosingBackupResult MakeClosingBackup(Prompter &prompter, const RemoteCopyStarter &remote, const QDate &today)
{
    ClosingBackupResult result;
    const Session &s = session();
    const bool insideArchive = !s.openedBackup.isEmpty();
    if (insideArchive) {
        result.target = s.openedBackup;
    } else {
        const QString folder = ReadMachineSetting(QStringLiteral("CALESALVARI")).trimmed();
        if (inDataFolders(folder)) {
            prompter.Mesaj(QStringLiteral("Salvare automata"), QStringLiteral("\rNu puteti salva aici!"), ButtonOk,
                           KindError);
            return result;
        }
        if (QDir().mkpath(folder))
            result.target = ClosingBackupTarget(folder, today);
    }
    result.ok = !result.target.isEmpty() && Pack(result.target, prompter).ok;
    if (!result.ok) {
        QString text = QStringLiteral("\rEroare la salvare!");
        if (insideArchive) {
            result.keptWork = keepWorkingCopy();
            if (!result.keptWork.isEmpty())
                text += QStringLiteral("\rModificarile au ramas in ") + result.keptWork + QLatin1Char('.');
        }
        prompter.Mesaj(QStringLiteral("Salvare automata"), text, ButtonOk, KindError);
        return result;
    }
    if (remote
        && prompter.Mesaj(QStringLiteral("Copie la Distanta"), QStringLiteral("\rDoriti sa transmiteti salvarea si pe Server?"),
                          ButtonDa | ButtonNu, KindConfirmation)
               == ResultYes)
        remote(result.target);
    if (insideArchive)
        DeleteFolder(s.programFolder);
    return result;
}

bool OpenBackupForWork(const QString &archive, Prompter &prompter)
{
    Session &s = session();
    const QString folder = FreshWorkFolder(QStringLiteral("SAV"));
    const QString data = QDir(folder).filePath(QStringLiteral("Data"));
    QString why;
    bool ok = !folder.isEmpty() && QDir().mkpath(data)
              && Unpack(QFileInfo(archive).absoluteFilePath(), data, prompter, &why,
                        QStringLiteral("Deschid baza de date..."));
    if (ok) {
        dropEngineFiles(data);
        ok = !BackupFileNames(data).isEmpty();
    }
    if (!ok) {
        if (!folder.isEmpty())
            DeleteFolder(folder);
        s.openedBackup.clear();
        restoreFailed(prompter);
        return false;
    }
    s.programFolder = folder;
    s.localDataFolder = data;
    s.dataFolder = data;
    s.openedBackup = QFileInfo(archive).absoluteFilePath();
    QDir::setCurrent(folder);
    return true;
}

} // namespace backup
