// An exclusive lock on a file that several processes, possibly on several
// computers sharing a folder, use to take turns.
//
// The lock is a byte-range lock of the file primitive (nativefile.h), so it also works on network shares and goes away by
// itself when the process ends or dies. The locked file is only a token: it
// is created when missing, never written and never removed, because removing
// a lock file while another process waits on it would let two processes in.
#pragma once

#include <QString>

#include <memory>

namespace platform {

class FileLock {
public:
    // Opens (creating when needed) `path` and waits until this process holds the
    // exclusive lock. isLocked() tells whether that worked; errorString() says
    // why not (folder missing or read-only, lock refused by the file system).
    explicit FileLock(const QString &path);
    // Releases the lock and closes the file.
    ~FileLock();

    FileLock(const FileLock &) = delete;
    FileLock &operator=(const FileLock &) = delete;

    bool isLocked() const { return locked_; }
    QString errorString() const { return error_; }

private:
    struct Holder;
    // The open lock file.
    std::unique_ptr<Holder> holder_;
    // True while this object holds the lock.
    bool locked_ = false;
    // Why the lock could not be taken, in the system's words.
    QString error_;
};

} // namespace platform
