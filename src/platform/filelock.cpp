#include "platform/filelock.h"

#include "platform/nativefile.h"

namespace platform {

struct FileLock::Holder {
    NativeFile file;
};

FileLock::FileLock(const QString &path) : holder_(std::make_unique<Holder>())
{
    NativeFile &file = holder_->file;
    if (!file.open(path, NativeFile::ReadWriteCreate)) {
        error_ = QStringLiteral("cannot open '%1': %2").arg(path, file.errorString());
        return;
    }
    if (!file.lock(0, 1, LockKind::Exclusive, -1)) {
        error_ = QStringLiteral("cannot lock '%1': %2").arg(path, file.errorString());
        return;
    }
    locked_ = true;
}

// Closing the file releases the lock.
FileLock::~FileLock() = default;

} // namespace platform
