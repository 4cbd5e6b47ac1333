// Replacing the data folder with the files of an unpacked archive, all or
// nothing, also across a crash.
//
//   QString reason;
//   if (!backup::ReplaceDataFolder(unpackFolder, dataFolder, programFolder, &reason))
//       ... the data folder is as it was
//
// The files replaced are moved into "DataBAK" of the program folder (emptied
// first), then the archive's files are copied in, each under a temporary name
// renamed into place. Before the first file moves, a note ("DataBAK.stare" in
// the program folder, synced to disk) lists the files being placed; it is
// marked done when the last one is in place and then removed. A move or copy
// that fails puts everything back at once. When the program was killed half
// way, the next start finds the note and finishes the work
// (FinishInterruptedRestore): a restore marked done stays, any other is put
// back, and the clerk is told which.
//
// While the files move, the data folder's journal lock is held exclusively,
// so no other workstation reads or writes half a restore; the engine's own
// files (journal, locks) never move.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class Prompter;

namespace backup {

// Folder of the program folder that keeps the data replaced by the last restore.
inline constexpr const char *kReplacedDataFolder = "DataBAK";
// The note of a restore in progress, in the program folder.
inline constexpr const char *kRestoreNoteName = "DataBAK.stare";

// Replaces the backup files of `dataFolder` by those of `unpackFolder`.
// `step` is called after each file moved or copied. Returns false and sets
// *reason when nothing could be done or a step failed; the data folder then
// holds its old files again (or, when even that failed, the note stays and
// the next start tries again).
bool ReplaceDataFolder(const QString &unpackFolder, const QString &dataFolder, const QString &programFolder,
                       QString *reason, const std::function<void()> &step = {});

enum class InterruptedRestore {
    // No restore was interrupted.
    None,
    // The restore had placed every file: the restored data stay.
    Completed,
    // The restore stopped half way: the old data were put back.
    RolledBack,
    // The old data could not all be put back; they wait in "DataBAK".
    Stuck,
};

// At start: finishes a restore that the program did not end (see above).
InterruptedRestore FinishInterruptedRestore(const QString &programFolder, QString *reason = nullptr);

// Tells the clerk what FinishInterruptedRestore found (nothing for None).
void ReportInterruptedRestore(InterruptedRestore result, const QString &programFolder, Prompter &prompter);

} // namespace backup
