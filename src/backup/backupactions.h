// What the clerk does with backups: the two buttons of the dialog "Copie -
// inlocuieste baza de date", the closing backup of the main window and
// working inside an archive opened at start. Plain functions over a
// Prompter; the windows only call them.
//
//   backup::SaveBackupCopy(prompter, chooser, remoteCopy, hideDialog);
//   if (backup::RestoreBackup(prompter, chooser, hideDialog)) ... end the program
#pragma once

#include <QDate>
#include <QString>

#include <functional>

class Prompter;

namespace backup {

// The file dialogs ("Salvare Arvena v.3|*.av3", default extension ".av3");
// tests answer in place of them.
class BackupFileChooser {
public:
    virtual ~BackupFileChooser() = default;
    // "Unde salvam datele ?": the chosen file, or empty when cancelled.
    virtual QString chooseSaveFile() = 0;
    // "Indicati o salvare Arvena v.3 !": the chosen file, or empty.
    virtual QString chooseOpenFile() = 0;
};

// Hands an archive to the remote copy. Empty while the program has none:
// then the question about sending the archive on is not asked.
using RemoteCopyStarter = std::function<void(const QString &archive)>;

// The extension of backup archives, with its point.
inline constexpr const char *kBackupExtension = ".av3";

// True when `path` is an existing file whose extension is ".av3" in any case.
bool IsBackupArchivePath(const QString &path);

// "Salveaza o copie a datelor": asks for the file, refuses the data folders
// ("Nu puteti salva aici!"), asks before replacing, packs (the old archive of
// that name stays whole until the new one is complete) and reports. Returns
// true when the archive was written. `hideDialog` runs before the long work.
bool SaveBackupCopy(Prompter &prompter, BackupFileChooser &chooser, const RemoteCopyStarter &remote,
                    const std::function<void()> &hideDialog);

// "Incarca o salvare anterioara": asks, takes the archive and restores it
// (RestoreFromArchive). Returns true only when the data were replaced.
bool RestoreBackup(Prompter &prompter, BackupFileChooser &chooser, const std::function<void()> &hideDialog);

// Restores `archive` into session().dataFolder, keeping the replaced files in
// "DataBAK": the unpack folder, the archive refused whole at its first
// problem ("Restaurare esuata!", nothing touched), the replacement all or
// nothing. Shows its messages; *reason says why it failed.
bool RestoreFromArchive(const QString &archive, Prompter &prompter, QString *reason = nullptr);

// The closing questions of the main window (`unlocked`: "Evidenta" is shown).
// Inside an opened archive only "Salvare modificari" is asked; otherwise, on
// local data with a backup folder set, "Salvare Automata". Returns whether
// the closing backup is to be made.
bool AskClosingBackup(Prompter &prompter, bool unlocked);

// folder + "/" + ddMMyyyy + "_" + n + ".av3" with the smallest n not taken.
QString ClosingBackupTarget(const QString &folder, const QDate &day);

struct ClosingBackupResult {
    bool ok = false;
    // The archive written (the opened archive itself when working inside one).
    QString target;
    // Working inside an archive and the save failed: where the day's work was
    // kept instead of being deleted with the temporary copy.
    QString keptWork;
};

// The closing backup: writes the archive (into the opened archive, or a new
// one in the backup folder, which must not be the data folder), reports a
// failure ("Eroare la salvare!"), offers the remote copy, and removes the
// temporary copy of an opened archive once it is saved.
ClosingBackupResult MakeClosingBackup(Prompter &prompter, const RemoteCopyStarter &remote, const QDate &today);

// Start with an archive given on the command line: unpacks it into a fresh
// work folder "SAV<n>" whose "Data" becomes the data folder (and the folder
// the program folder), with the progress "Deschid baza de date...". A damaged
// archive is reported ("Restaurare esuata!") and the session is left as it
// was, so the program starts on its usual data. Returns true when the
// program now works inside the archive (session().openedBackup is set).
bool OpenBackupForWork(const QString &archive, Prompter &prompter);

} // namespace backup
