// Building archives byte by byte, for the tests of damaged and hostile ones.
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

#include <zlib.h>

namespace archivebytes {

inline QByteArray int32(qint64 value)
{
    const quint32 v = quint32(qint32(value));
    QByteArray b(4, '\0');
    for (int i = 0; i < 4; ++i)
        b[i] = char((v >> (8 * i)) & 0xFF);
    return b;
}

inline QByteArray zlibStream(const QByteArray &content)
{
    uLongf length = compressBound(uLong(content.size()));
    QByteArray out(qsizetype(length), '\0');
    compress2(reinterpret_cast<Bytef *>(out.data()), &length, reinterpret_cast<const Bytef *>(content.constData()),
              uLong(content.size()), 9);
    out.resize(qsizetype(length));
    return out;
}

// One entry: name bytes (Windows-1250), declared size and the stream.
inline QByteArray entry(const QByteArray &name, qint64 declared, const QByteArray &stream)
{
    return int32(name.size()) + name + int32(declared) + stream;
}

inline QByteArray entry(const QByteArray &name, const QByteArray &content)
{
    return entry(name, content.size(), zlibStream(content));
}

inline void write(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    f.write(bytes);
}

inline QByteArray read(const QString &path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

// Every file below `folder`, relative, sorted: what a test compares before and after.
inline QStringList tree(const QString &folder)
{
    QStringList out;
    const QDir root(folder);
    std::function<void(const QString &)> walk = [&](const QString &sub) {
        const QDir dir(root.filePath(sub));
        for (const QFileInfo &info :
             dir.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name)) {
            // The marks of running copies come and go with the scratch folders.
            if (info.fileName() == QLatin1String(".arvena3-inuse"))
                continue;
            const QString rel = sub.isEmpty() ? info.fileName() : sub + "/" + info.fileName();
            if (info.isDir() && !info.isSymLink())
                walk(rel);
            else
                out.append(rel + ":" + QString::number(info.size()));
        }
    };
    walk(QString());
    return out;
}

// Damaged and hostile archives, each refused by every way in: a truncated
// stream, wrong declared sizes, negative and huge counts and lengths, names
// that leave the folder, a compression bomb. The only whole entry any of them
// holds is "Cereri.dbf" of 5004 bytes, first.
struct Malformed {
    const char *label;
    QByteArray bytes;
};

inline std::vector<Malformed> malformedArchives()
{
    const QByteArray good = entry("Cereri.dbf", QByteArray(5000, 'a') + QByteArray("tail"));
    const QByteArray stream = zlibStream(QByteArray(5004, 'b'));
    QByteArray corrupt = stream;
    corrupt[corrupt.size() / 2] = char(corrupt[corrupt.size() / 2] ^ 0x55);
    // 64 MiB of zeros packed in about 64 KiB: a bomb that declares little.
    const QByteArray bomb = zlibStream(QByteArray(64 << 20, '\0'));
    const QByteArray whole = int32(1) + good;
    return {
        {"empty file", {}},
        {"count only half there", int32(1).left(2)},
        {"truncated stream", whole.left(whole.size() - 7)},
        {"truncated name", int32(1) + int32(10) + "Cer"},
        {"declared size too large", int32(1) + entry("a.dbf", 5005, stream)},
        {"declared size too small", int32(1) + entry("a.dbf", 5003, stream)},
        {"corrupt stream", int32(1) + entry("a.dbf", 5004, corrupt)},
        {"negative count", int32(-1) + good},
        {"huge count", int32(0x7fffffff) + good},
        {"count beyond the entries", int32(3) + good},
        {"negative name length", int32(1) + int32(-5) + good.mid(4)},
        {"huge name length", int32(1) + int32(0x7fffffff) + good.mid(4)},
        {"empty name", int32(1) + entry("", "x")},
        {"negative size", int32(1) + entry("a.dbf", -1, stream)},
        {"declares more than 1 GiB", int32(1) + entry("a.dbf", (qint64(1) << 30) + 1, bomb)},
        {"bomb under a small size", int32(1) + entry("a.dbf", 1 << 20, bomb)},
        {"parent folder", int32(2) + good + entry("../evil.txt", "evil")},
        {"deeper parent", int32(1) + entry("../../evil.txt", "evil")},
        {"absolute path", int32(1) + entry("/tmp/arvena3-evil.txt", "evil")},
        {"backslash", int32(1) + entry("..\\evil.txt", "evil")},
        {"drive", int32(1) + entry("C:evil.txt", "evil")},
        {"dot", int32(1) + entry(".", "evil")},
        {"control character", int32(1) + entry("a\nb", "evil")},
        {"same name twice", int32(2) + good + entry("CERERI.DBF", "again")},
        {"bytes after the last entry", whole + "junk"},
    };
}

} // namespace archivebytes

