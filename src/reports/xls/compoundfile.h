// The compound-file container that holds a binary workbook: a small file
// system of storages and streams inside one file, in sectors chained through
// an allocation table.
//
//     xls::CompoundFile file = xls::CompoundFile::read(bytes);   // throws XlsError
//     QByteArray *book = file.stream("Workbook");
//     ...
//     QByteArray out = file.write();
//
// Read: versions 3 (512-byte sectors) and 4 (4096-byte sectors), the mini
// stream for small streams, chains checked against loops and the file's end,
// so a truncated or damaged file gives an error instead of garbage. Write:
// version 3 with every storage and stream that was read (names, class ids and
// state kept), streams below 4096 bytes in the mini stream as the format asks.
#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

namespace xls {

// One storage or stream of the container.
struct CompoundEntry {
    // Name as stored (at most 31 UTF-16 characters).
    QString name;
    // True for a storage (a folder), false for a stream.
    bool storage = false;
    // Class id (16 bytes) and user state bits, kept as they were read.
    QByteArray classId = QByteArray(16, '\0');
    quint32 stateBits = 0;
    // Creation and modification times (16 bytes), kept as read.
    QByteArray times = QByteArray(16, '\0');
    // Content of a stream.
    QByteArray data;
    // Entries of a storage, in the order they were found.
    std::vector<CompoundEntry> children;
};

class CompoundFile {
public:
    // Parses a whole compound file. Throws XlsError naming what is damaged.
    static CompoundFile read(const QByteArray &bytes);

    // The container's content as a version 3 compound file.
    QByteArray write() const;

    // The stream of the root storage with this name (compared without regard
    // to case), or null when there is none.
    QByteArray *stream(const QString &name);
    const QByteArray *stream(const QString &name) const;

    // Adds or replaces a stream of the root storage.
    void setStream(const QString &name, const QByteArray &data);

    // The root storage (its class id and its entries).
    CompoundEntry root;
};

} // namespace xls
