// Marking the files and folders a running copy works with, so that another
// copy sharing the same program folder never takes or deletes them.
//
// On Windows an open file or the current folder of a process cannot be
// deleted, and the program relies on that: a copy skips the engine folder
// "TMP0" that another copy uses, or the scratch file still open in the word
// processor. Here anything can be deleted at any moment, so each copy marks
// what it uses with a lock that lives as long as the process: one hidden file
// ".arvena3-inuse" per folder, with a byte-range lock at an offset taken from
// the entry's name. The kernel drops the locks when the process ends, however
// it ends, so a crashed copy never leaves anything marked.
#pragma once

#include <QString>

namespace platform {

// Claims `path` for this process alone. False when another running copy has
// claimed or shared it (then nothing is marked). True also when the folder
// cannot hold the marker file (a read-only folder has nothing to protect).
bool claimInUse(const QString &path);

// Marks `path` as used by this process without excluding other copies (the
// common work folder, which every copy uses at once).
bool shareInUse(const QString &path);

// Takes back a claim or share of this process.
void releaseInUse(const QString &path);

// True when another running process has claimed or shared `path`.
bool inUseByOtherCopy(const QString &path);

// True when this process has claimed or shared `path`.
bool inUseByThisCopy(const QString &path);

// The paths this process has claimed or shared, in the order it marked them.
QStringList pathsInUseByThisCopy();

// True when `name` is the hidden marker file these functions keep in a folder.
bool isInUseMarker(const QString &name);

// True when another running process has marked anything in `folder`.
bool folderMarkedByOtherCopy(const QString &folder);

// Forgets this process's marks in `folder` and below, after that tree was
// deleted (a folder made anew under the same name gets a new marker file).
void forgetMarksUnder(const QString &folder);

// True when another process holds a lock (POSIX record lock or flock) on the
// file. A missing file is not locked.
bool lockedByOtherProcess(const QString &path);

} // namespace platform
