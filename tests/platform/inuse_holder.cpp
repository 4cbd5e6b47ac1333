// Holds marks or locks for a test until its standard input closes.
//
//   inuse_holder claim <path>...   marks each path as this copy's own
//   inuse_holder share <path>...   marks each path as shared
//   inuse_holder lock <file>...    takes a record lock on each file
//
// Prints "held" once everything is in place.
#include "platform/inuse.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <cstdio>
#include "platform/nativefile.h"

#include <cstring>
#include <unistd.h>

int main(int argc, char **argv)
{
    if (argc < 3)
        return 2;
    const char *mode = argv[1];
    for (int i = 2; i < argc; ++i) {
        const QString path = QString::fromLocal8Bit(argv[i]);
        bool ok = false;
        if (std::strcmp(mode, "claim") == 0) {
            ok = platform::claimInUse(path);
        } else if (std::strcmp(mode, "share") == 0) {
            ok = platform::shareInUse(path);
        } else if (std::strcmp(mode, "lock") == 0) {
            // As a word processor locks the document it has open; the file
            // stays open (and locked) until the process ends.
            auto *file = new platform::NativeFile;
            ok = file->open(path, platform::NativeFile::ReadWrite) && file->tryLock(0, 0, platform::LockKind::Exclusive);
        }
        if (!ok) {
            std::printf("failed %s\n", argv[i]);
            return 1;
        }
    }
    std::printf("held\n");
    std::fflush(stdout);
    char buffer[64];
    while (::read(0, buffer, sizeof buffer) > 0) {
    }
    return 0;
}
