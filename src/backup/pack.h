// Pack and Unpack: the data folder into a backup archive and back out of one.
//
//   if (!backup::Pack(target, prompter).ok) ...    // the data folder of session()
//   if (!backup::Unpack(archive, folder, prompter, &reason)) ...
//
// Pack copies the data folder (BackupFileNames, held against other
// workstations), cleans the copy (CleanPackedCopy) and writes the archive
// beside the target under a temporary name, synced to disk and renamed over
// the target only when complete: a failure or a kill at any moment leaves the
// old archive of that name as it was.
#pragma once

#include <QString>

class Prompter;

namespace backup {

struct PackResult {
    // The archive is complete at the target.
    bool ok = false;
    // The failure came before packing: nothing to copy, no copy folder, or the
    // data stayed busy ("Nu pot scrie pe harddisk!!" in the dialog).
    bool copyFailed = false;
    // Why it failed, for the log of the command-line tool.
    QString reason;
};

// Writes the archive of session().dataFolder to `target`. A target in the
// data folder itself is refused (the next archive would hold this one).
// Progress: "Pregatesc datele..." while copying, "Salvez datele..." while
// packing (100 steps, following the bytes packed).
PackResult Pack(const QString &target, Prompter &prompter, int threads = 0);

// Unpacks `archive` into `folder` with the progress "Desfac baza de date..."
// (one step per entry). False, with the reason, at the first problem of the
// archive; the entries written before stay.
bool Unpack(const QString &archive, const QString &folder, Prompter &prompter, QString *reason = nullptr,
            const QString &progressText = QStringLiteral("Desfac baza de date..."));

} // namespace backup
