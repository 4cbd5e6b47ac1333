// The one file primitive of the program: an open file that closes itself,
// positioned whole-buffer reads and writes, size and identity, syncs, and
// byte-range locks that other processes (on this computer or across a network
// share) respect.
//
//     platform::NativeFile file;
//     if (!file.open(path, platform::NativeFile::ReadWrite))
//         return fail(file.errorString());
//     if (!file.lock(offset, 1, platform::LockKind::Exclusive, timeoutMs))
//         return fail(file.errorString());
//     file.writeAt(0, bytes.constData(), bytes.size());
//
// Locks belong to the open file, not to the process (open-file-description
// locks on Linux, LockFileEx on Windows), so closing some other descriptor of
// the same file never drops them; the system releases them when the file is
// closed or the process ends, however it ends. Everything the tables, the
// journal, the in-use marks and the lock files do with files goes through
// here, so that porting to another system is this folder's work alone.
#pragma once

#include <QString>

class QFileDevice;

namespace platform {

enum class LockKind { Shared, Exclusive };

// Which file an open file or a path is: equal identities are the same file,
// however it was reached.
struct FileIdentity {
    // The device (volume) that holds the file.
    quint64 device = 0;
    // The file's number on that device.
    quint64 inode = 0;
    bool operator==(const FileIdentity &) const = default;
};

// What fstat tells of an open file.
struct FileStatus {
    // Length in bytes.
    qint64 size = 0;
    // Last modification, in nanoseconds since the epoch.
    qint64 modifiedNs = 0;
    // Which file it is.
    FileIdentity identity;
};

class NativeFile {
public:
    enum OpenMode {
        // Read only; the file must exist.
        ReadOnly,
        // Read and write; the file must exist.
        ReadWrite,
        // Read and write when allowed, else read only (a table on a read-only
        // share can still be read); the file must exist.
        ReadWriteOrReadOnly,
        // Read and write, creating an empty file when there is none.
        ReadWriteCreate,
    };
    // Why the last operation failed.
    enum Problem { NoProblem, NotFound, AccessDenied, LockBusy, OtherProblem };

    NativeFile() = default;
    ~NativeFile();
    NativeFile(NativeFile &&other) noexcept;
    NativeFile &operator=(NativeFile &&other) noexcept;
    NativeFile(const NativeFile &) = delete;
    NativeFile &operator=(const NativeFile &) = delete;

    // Opens `path` (closing what was open). False with problem() and
    // errorString() set when it cannot.
    bool open(const QString &path, OpenMode mode);
    // Closes the file; its locks go with it.
    void close();
    bool isOpen() const { return handle_ != -1; }
    bool isWritable() const { return writable_; }
    QString path() const { return path_; }

    // Reads exactly `length` bytes at `offset`; false on an error or when the
    // file ends first.
    bool readAt(qint64 offset, char *buffer, qint64 length);
    // Writes exactly `length` bytes at `offset`; false on an error.
    bool writeAt(qint64 offset, const char *buffer, qint64 length);
    // Length, modification time and identity; false when the system cannot say.
    bool status(FileStatus *status);
    // The length in bytes, or -1.
    qint64 size();
    // Cuts (or extends with zeros) the file to `length` bytes.
    bool truncate(qint64 length);
    // Waits until the file's data and length are on the disk (not its times).
    bool syncData();
    // Waits until everything of the file, times included, is on the disk.
    bool syncAll();
    // Starts writing the file's dirty pages without waiting, so that several
    // files reach the disk together; a hint, where the system has one.
    void startWriteBack();

    // Takes a byte-range lock without waiting. False with problem() LockBusy
    // when another open file holds a conflicting lock.
    bool tryLock(qint64 offset, qint64 length, LockKind kind);
    // Takes it, waiting up to `timeoutMs` (negative: for ever). False with
    // problem() LockBusy after the timeout, OtherProblem when the system
    // refused the lock.
    bool lock(qint64 offset, qint64 length, LockKind kind, int timeoutMs);
    // Releases a range this file locked (nothing when it held none).
    void unlock(qint64 offset, qint64 length);
    // True when another open file (of any process) holds a lock that would
    // conflict with `kind` on the range. `length` 0 means to the end of the
    // file and beyond.
    bool lockedElsewhere(qint64 offset, qint64 length, LockKind kind);
    // True when another process holds a whole-file lock of the older kind
    // (flock) on the file, as some programs take.
    bool wholeFileLockedElsewhere();

    // True when `path` still names the file this object has open: after a
    // wait for a lock, another process may have replaced the file (a pack, a
    // restore), and a lock on the old one guards nothing.
    bool isStillAt(const QString &path);

    Problem problem() const { return problem_; }
    QString errorString() const { return error_; }

private:
    bool failWithSystemError();
    void clearProblem();

    // Descriptor (POSIX) or handle (Windows); -1 when closed.
    qintptr handle_ = -1;
    // Opened for writing.
    bool writable_ = false;
    // Path given to open().
    QString path_;
    // The last failure.
    Problem problem_ = NoProblem;
    QString error_;
};

// The identity of the file `path` names; false when it does not exist.
bool identityOf(const QString &path, FileIdentity *identity);

// Makes a folder's entries (files created, renamed or removed in it) durable.
void syncFolder(const QString &folder);

enum class LinkResult { Linked, NameTaken, Unsupported };

// Gives the file `existing` the second name `newName`, which must not exist
// yet: unlike a rename this never replaces a file another process has just
// created. Unsupported on a file system without hard links (or on any other
// failure); the caller then renames instead.
LinkResult linkNewName(const QString &existing, const QString &newName);

// Waits until what was written through `file` is on the disk.
bool syncToDisk(QFileDevice &file);

} // namespace platform
