// Scratch names, folder removal and moving a file, used by every operation
// that writes documents, archives or copies.
//
// A running copy marks the scratch files and folders it takes (see
// platform/inuse.h), so that another copy sharing the program folder moves
// on to the next number instead of deleting them.
#pragma once

#include <QString>

// A free path session().programFolder + "/" + stem + n + ext, n = 0 … 999:
// a name that does not exist, or an existing file that can be deleted because
// no other program holds it open (it is deleted). Pending window messages run
// between tries. Returns empty when no number is free.
QString TempFileName(const QString &stem, const QString &ext);

// A new empty folder session().workFolder + "/" + stem + n, n = 0 … 99: a name
// that does not exist or whose folder `DeleteFolder` removes. Returns empty
// when no number is free or the folder cannot be made.
QString FreshWorkFolder(const QString &stem);

// Removes the folder with all its content, without asking. A missing folder
// counts as removed. False, with nothing deleted, when another program holds
// a file inside open or another running copy uses the folder.
bool DeleteFolder(const QString &path);

// Copies `source` to `target` (created or replaced) and then deletes the
// source. False when the source cannot be read or the target cannot be
// written; the source is then left as it was. Source and target naming the
// same file is refused too, since the copy would destroy it.
bool CopyAndRemove(const QString &source, const QString &target);

// True when another program holds the file open: another process locks it,
// another running copy of this program uses it, or the office suite's lock
// file ".~lock.<name>#" stands beside it.
bool IsFileHeldOpen(const QString &path);

// Makes the session's work folder and marks it as used by this copy.
bool OpenWorkFolder();

// At the end of a run: removes what this copy made in the work folder, and
// the folder itself when no other running copy uses it.
void RemoveWorkFolder();
