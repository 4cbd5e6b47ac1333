#include "datastore/dbf/rawio.h"

#include <cerrno>
#include <unistd.h>

namespace dbf {

bool readFully(int fd, char *buffer, size_t length, off_t offset)
{
    while (length > 0) {
        const ssize_t n = ::pread(fd, buffer, length, offset);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        buffer += n;
        length -= size_t(n);
        offset += n;
    }
    return true;
}

bool writeFully(int fd, const char *buffer, size_t length, off_t offset)
{
    while (length > 0) {
        const ssize_t n = ::pwrite(fd, buffer, length, offset);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        buffer += n;
        length -= size_t(n);
        offset += n;
    }
    return true;
}

} // namespace dbf
