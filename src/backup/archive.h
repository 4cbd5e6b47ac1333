// The backup archive (".av3"): every file of a data folder in one file, as the
// Windows program writes and reads it.
//
//     file count N                 int32, little endian (as every integer here)
//     N entries, each:
//       name length L              int32
//       name                       L bytes, Windows-1250, no folder, no terminator
//       size                       int32, the content's length before compression
//       data                       one complete zlib stream (deflate, level 9);
//                                  its length is not stored: the next entry
//                                  starts right after the stream's last byte
//
//   use:
//     WriteArchive(copyFolder, {"Cereri.dbf", "Arv2.set"}, out, {}, &reason);
//     UnpackArchive("/tmp/x.av3", unpackFolder, {}, &reason);
//
// Archives arrive by e-mail and from the remote service, so the reader trusts
// nothing in them: a name must be a plain file name (not empty, ".", "..", no
// "/", "\", ":" or control character, at most kMaxNameLength bytes, not twice
// in one archive); counts and lengths must be possible for the bytes the file
// holds; a size above kMaxEntrySize is refused before anything is inflated;
// each entry is inflated as a stream into its file and refused as soon as it
// grows past its declared size or ends short of it; nothing may follow the
// last entry. Memory stays bounded (a few buffers) whatever the archive says.
//
// The writer compresses on several threads: each file is cut into chunks that
// are deflated side by side (each with the 32 KiB before it as dictionary) and
// joined, in order, into one zlib stream per entry, so the archive is the same
// whatever the number of threads and any zlib reader inflates it.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class QIODevice;

namespace backup {

// Largest content of one entry we write or accept (a table of this program
// stays far below it); a larger declared size marks a damaged or hostile archive.
inline constexpr qint64 kMaxEntrySize = qint64(1) << 30;
// Longest entry name in bytes (longer names cannot be files on the disks we use).
inline constexpr int kMaxNameLength = 255;
// Deflate never packs more than 1032 bytes into one byte, so a size beyond
// that many times the bytes left in the file cannot be true.
inline constexpr qint64 kMaxInflateRatio = 1032;

struct ArchiveEntry {
    // File name as stored (decoded from Windows-1250).
    QString name;
    // Content length before compression.
    qint64 size = 0;
};

// How far the work is: `done` of `total`. Reading counts entries (called
// after each one, and with the same count while a long entry inflates);
// writing counts the bytes of content packed (called after each chunk), so
// that a folder of a few large tables moves the progress as much as one of
// many small files. Between calls a caller may let window messages run.
using ArchiveProgress = std::function<void(qint64 done, qint64 total)>;

// True when `name` may become a file in a folder: see the rules above.
bool IsSafeEntryName(const QString &name);

// Writes the files `names` of `folder` as an archive to `out` (open for
// writing), in the order given, using `threads` threads (0: one per core).
// Returns false and sets *reason when a file cannot be read, is larger than
// kMaxEntrySize, has a name that is not safe or has no Windows-1250 form, or
// `out` cannot be written; what reached `out` is then incomplete.
bool WriteArchive(const QString &folder, const QStringList &names, QIODevice &out, const ArchiveProgress &progress,
                  QString *reason, int threads = 0);

// Reads the archive `archive` and writes each entry to a new file of its name
// in `folder`. Returns false and sets *reason at the first problem; the file
// of the entry that failed is removed, the files of the entries before it
// stay (the caller removes the folder). An existing file of an entry's name
// is never overwritten or followed.
bool UnpackArchive(const QString &archive, const QString &folder, const ArchiveProgress &progress,
                   QString *reason);

// Reads the whole archive as UnpackArchive does, without writing anything.
// Returns false and sets *reason at the first problem; *entries receives the
// entries read so far.
bool CheckArchive(const QString &archive, QList<ArchiveEntry> *entries, QString *reason);

} // namespace backup
