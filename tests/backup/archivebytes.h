// Building archives byte by byte, for the tests of damaged and hostile ones.
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>

#include <functional>

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

} // namespace archivebytes
