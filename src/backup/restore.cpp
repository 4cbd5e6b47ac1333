#include "backup/restore.h"

#include "backup/backupfiles.h"
#include "datastore/dbf/dbfformat.h"
#include "datastore/dbf/journal.h"
#include "platform/filehelpers.h"
#include "platform/prompter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <iterator>

namespace backup {
namespace {

const QByteArray kNoteMagic = "ARVENA3 RESTAURARE";

// How far a restore got: the old files moving out, the new ones coming in, done.
enum class Phase { MovingOut, PlacingIn, Done };
const QByteArray kPhaseNames[] = {"mut", "pun", "gata"};

struct RestoreNote {
    Phase phase = Phase::MovingOut;
    QString dataFolder;
    // Files the restore places into the data folder.
    QStringList placed;
};

QString notePath(const QString &programFolder)
{
    return QDir(programFolder).filePath(QLatin1String(kRestoreNoteName));
}

QString replacedFolder(const QString &programFolder)
{
    return QDir(programFolder).filePath(QLatin1String(kReplacedDataFolder));
}

// The name a placed file has until it is complete; the engine's pattern for
// files half written, so that no backup takes it.
QString pendingName(const QString &name)
{
    return QLatin1Char('.') + name + QLatin1String(".new");
}

bool writeNote(const QString &path, const RestoreNote &note)
{
    QByteArray text = kNoteMagic + '\n' + kPhaseNames[int(note.phase)] + '\n' + note.dataFolder.toUtf8() + '\n';
    for (const QString &name : note.placed)
        text += name.toUtf8() + '\n';
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size() && file.commit();
}

bool readNote(const QString &path, RestoreNote *note)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QList<QByteArray> lines = file.readAll().split('\n');
    if (lines.size() < 3 || lines.at(0) != kNoteMagic)
        return false;
    const auto phase = std::find(std::begin(kPhaseNames), std::end(kPhaseNames), lines.at(1));
    if (phase == std::end(kPhaseNames))
        return false;
    note->phase = Phase(phase - std::begin(kPhaseNames));
    note->dataFolder = QString::fromUtf8(lines.at(2));
    for (int i = 3; i < lines.size(); ++i) {
        if (!lines.at(i).isEmpty())
            note->placed.append(QString::fromUtf8(lines.at(i)));
    }
    return true;
}

// Renames, or copies and removes when the two folders are on different disks.
bool moveFile(const QString &from, const QString &to)
{
    return QFile::rename(from, to) || (!QFileInfo::exists(to) && CopyAndRemove(from, to));
}

// Copies under the pending name, synced, and renames over any file of the name.
bool placeFile(const QString &from, const QString &folder, const QString &name)
{
    const QDir dir(folder);
    const QString pending = dir.filePath(pendingName(name));
    QString unused;
    if (!CopyFileSynced(from, pending, &unused))
        return false;
    const QString target = dir.filePath(name);
    if (QFileInfo::exists(target) && !QFile::remove(target)) {
        QFile::remove(pending);
        return false;
    }
    return QFile::rename(pending, target);
}

// Undoes a restore: removes what it placed and moves the replaced files back.
// While the old files were still moving out, a file of a placed name in the
// data folder is an old one that had not moved yet.
bool putBack(const RestoreNote &note, const QString &programFolder)
{
    const QDir data(note.dataFolder);
    bool ok = true;
    const QStringList placed = note.phase == Phase::MovingOut ? QStringList() : note.placed;
    for (const QString &name : placed) {
        for (const QString &path : {data.filePath(name), data.filePath(pendingName(name))}) {
            const QFileInfo info(path);
            // Only files were placed: a folder of that name was in the way.
            if ((info.isFile() || info.isSymLink()) && !QFile::remove(path))
                ok = false;
        }
    }
    if (!ok)
        return false;
    const QDir replaced(replacedFolder(programFolder));
    for (const QString &name : replaced.entryList(QDir::Files | QDir::Hidden)) {
        const QString target = data.filePath(name);
        // A file still in the data folder was never moved out.
        if (QFileInfo::exists(target))
            continue;
        if (!moveFile(replaced.filePath(name), target))
            ok = false;
    }
    return ok;
}

bool emptyFolder(const QString &folder)
{
    const QDir dir(folder);
    bool ok = true;
    for (const QString &name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System))
        ok = QFile::remove(dir.filePath(name)) && ok;
    return ok;
}

bool replaceHeld(const QString &unpackFolder, RestoreNote &note, const QString &programFolder, QString *reason,
                 const std::function<void()> &step)
{
    const QString replaced = replacedFolder(programFolder);
    if (!QDir().mkpath(replaced) || !emptyFolder(replaced)) {
        *reason = QStringLiteral("dosarul \"%1\" nu poate fi golit").arg(replaced);
        return false;
    }
    const QStringList old = BackupFileNames(note.dataFolder);
    if (!writeNote(notePath(programFolder), note)) {
        *reason = QStringLiteral("nota restaurarii nu poate fi scrisa in ") + programFolder;
        return false;
    }
    const QDir data(note.dataFolder);
    const QDir unpacked(unpackFolder);
    bool ok = true;
    for (const QString &name : old) {
        if (!(ok = moveFile(data.filePath(name), QDir(replaced).filePath(name)))) {
            *reason = QStringLiteral("fisierul \"%1\" nu poate fi mutat in %2").arg(name, replaced);
            break;
        }
        if (step)
            step();
    }
    if (ok) {
        note.phase = Phase::PlacingIn;
        if (!(ok = writeNote(notePath(programFolder), note)))
            *reason = QStringLiteral("nota restaurarii nu poate fi scrisa in ") + programFolder;
    }
    for (int i = 0; ok && i < note.placed.size(); ++i) {
        const QString &name = note.placed.at(i);
        if (!(ok = placeFile(unpacked.filePath(name), note.dataFolder, name))) {
            *reason = QStringLiteral("fisierul \"%1\" nu poate fi scris in %2").arg(name, note.dataFolder);
            break;
        }
        if (step)
            step();
    }
    if (ok) {
        note.phase = Phase::Done;
        ok = writeNote(notePath(programFolder), note);
        if (!ok)
            *reason = QStringLiteral("nota restaurarii nu poate fi scrisa in ") + programFolder;
    }
    if (!ok) {
        if (putBack(note, programFolder))
            QFile::remove(notePath(programFolder));
        return false;
    }
    QFile::remove(notePath(programFolder));
    return true;
}

} // namespace

bool ReplaceDataFolder(const QString &unpackFolder, const QString &dataFolder, const QString &programFolder,
                       QString *reason, const std::function<void()> &step)
{
    QString why;
    if (FinishInterruptedRestore(programFolder, &why) == InterruptedRestore::Stuck) {
        *reason = why;
        return false;
    }
    RestoreNote note;
    note.dataFolder = QDir::cleanPath(QFileInfo(dataFolder).absoluteFilePath());
    note.placed = BackupFileNames(unpackFolder);
    if (note.placed.isEmpty()) {
        *reason = QStringLiteral("arhiva nu are niciun fisier de date");
        return false;
    }
    try {
        auto journal = dbf::FolderJournal::of(note.dataFolder);
        journal->beginTransaction();
        const bool ok = replaceHeld(unpackFolder, note, programFolder, reason, step);
        journal->commit();
        return ok;
    } catch (const dbf::DbfError &e) {
        *reason = e.message();
        return false;
    }
}

InterruptedRestore FinishInterruptedRestore(const QString &programFolder, QString *reason)
{
    const QString path = notePath(programFolder);
    if (!QFileInfo::exists(path))
        return InterruptedRestore::None;
    RestoreNote note;
    if (!readNote(path, &note)) {
        if (reason)
            *reason = QStringLiteral("nota restaurarii \"%1\" nu poate fi citita").arg(path);
        return InterruptedRestore::Stuck;
    }
    if (note.phase == Phase::Done) {
        QFile::remove(path);
        return InterruptedRestore::Completed;
    }
    if (!putBack(note, programFolder)) {
        if (reason)
            *reason = QStringLiteral("datele inlocuite nu au putut fi puse la loc; sunt in ")
                      + replacedFolder(programFolder);
        return InterruptedRestore::Stuck;
    }
    QFile::remove(path);
    return InterruptedRestore::RolledBack;
}

void ReportInterruptedRestore(InterruptedRestore result, const QString &programFolder, Prompter &prompter)
{
    const QString title = QStringLiteral("Restaurare date");
    switch (result) {
    case InterruptedRestore::None:
        return;
    case InterruptedRestore::Completed:
        prompter.Mesaj(title,
                       QStringLiteral("Restaurarea din salvare s-a incheiat inainte de oprirea programului.\r"
                                      "Lucrati cu datele din salvare."),
                       ButtonOk, KindInformation);
        return;
    case InterruptedRestore::RolledBack:
        prompter.Mesaj(title,
                       QStringLiteral("Restaurarea din salvare a fost intrerupta.\r"
                                      "Datele de dinainte de restaurare au fost puse la loc."),
                       ButtonOk, KindWarning);
        return;
    case InterruptedRestore::Stuck:
        prompter.Mesaj(title,
                       QStringLiteral("Restaurarea din salvare a fost intrerupta si datele nu au putut fi puse la loc!\r"
                                      "Datele inlocuite sunt in ")
                           + replacedFolder(programFolder) + QStringLiteral("."),
                       ButtonOk, KindError);
        return;
    }
}

} // namespace backup
