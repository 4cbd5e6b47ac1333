// Which files of a data folder a backup holds, and the consistent copy of
// them that is packed.
//
// A backup holds the regular files of more than 0 bytes of the data folder,
// never its subfolders, links, or the files of the database engine (the
// journal "arvena3.jurnal", which is also the folder's lock, the settings
// locks "*.lck", the marks of running copies, files half written
// ".<name>.new" and their scratch copies): those only ever describe work in progress of a running
// program, and restoring them would undo or block the restored tables.
//
// The copy is taken while the folder is held the way a statement holds it,
// with every table locked for reading, so that a transaction of another
// workstation is either wholly in the copy or not at all, and no table is
// copied while a statement writes it.
#pragma once

#include <QString>
#include <QStringList>

namespace backup {

// True for the files of the engine that never go into an archive and are
// never moved by a restore.
bool IsEngineFile(const QString &name);

// The names of the files of `folder` that a backup holds, sorted by name
// without regard to case.
QStringList BackupFileNames(const QString &folder);

// How long the copy waits for another workstation's transaction or write
// before it gives up (milliseconds; 20 s unless set).
void SetBackupLockWait(int milliseconds);
int BackupLockWait();

// Copies the backup files of `dataFolder` into `copyFolder` (existing and
// empty), holding the folder and its tables meanwhile. Returns false and sets
// *reason when there is nothing to copy, the folder stays busy longer than
// BackupLockWait(), or a file cannot be copied.
bool CopyDataFolder(const QString &dataFolder, const QString &copyFolder, QString *reason);

// Cleans a copy for packing: every ".DBF" (any case) loses its production
// index flag (header byte 28) and every ".mdx" file goes.
void CleanPackedCopy(const QString &copyFolder);

// Copies `from` to `to` (created or replaced), the new file synced to disk
// before it takes the name. False, with the reason, when either side fails;
// `to` is then as it was.
bool CopyFileSynced(const QString &from, const QString &to, QString *reason);

// True when `path` names `folder` itself, through any spelling (case, links,
// "..", a trailing separator).
bool SameFolder(const QString &path, const QString &folder);

} // namespace backup
