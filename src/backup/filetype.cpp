#include "backup/filetype.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>

namespace backup {
namespace {

QByteArray carried(const QString &name)
{
    QFile file(QStringLiteral(":/FILETYPE/") + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Writes `bytes` to `path` unless the file already holds them. Sets *changed.
bool writeIfDifferent(const QString &path, const QByteArray &bytes, bool *changed)
{
    QFile existing(path);
    if (existing.open(QIODevice::ReadOnly) && existing.readAll() == bytes)
        return true;
    existing.close();
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return false;
    *changed = true;
    return true;
}

// The desktop entry's Exec value: the path quoted as desktop entries quote arguments.
QByteArray execValue(const QString &program)
{
    QString quoted = program;
    for (const char *c : {"\\", "\"", "`", "$"})
        quoted.replace(QLatin1String(c), QLatin1String("\\") + QLatin1String(c));
    quoted.replace(QLatin1String("%"), QLatin1String("%%"));
    // Inside a desktop file's string the backslashes are escaped once more.
    quoted.replace(QLatin1String("\\"), QLatin1String("\\\\"));
    return (QLatin1Char('"') + quoted + QLatin1Char('"')).toUtf8();
}

void refreshCache(const QString &tool, const QString &folder)
{
    const QString path = QStandardPaths::findExecutable(tool);
    if (!path.isEmpty())
        QProcess::execute(path, {folder});
}

} // namespace

bool RegisterBackupType(const QString &program)
{
    const QString home = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (home.isEmpty())
        return false;
    const QDir dir(home);
    bool mimeChanged = false;
    bool entryChanged = false;
    bool ok = writeIfDifferent(dir.filePath(QStringLiteral("mime/packages/arvena3-av3.xml")),
                               carried(QStringLiteral("arvena3-av3.xml")), &mimeChanged);
    QByteArray entry = carried(QStringLiteral("arvena3.desktop"));
    entry.replace("@EXEC@", execValue(program));
    ok = writeIfDifferent(dir.filePath(QStringLiteral("applications/arvena3.desktop")), entry, &entryChanged) && ok;
    bool iconChanged = false;
    ok = writeIfDifferent(dir.filePath(QStringLiteral("icons/hicolor/scalable/apps/arvena3.svg")),
                          carried(QStringLiteral("arvena3.svg")), &iconChanged)
         && ok;
    if (mimeChanged)
        refreshCache(QStringLiteral("update-mime-database"), dir.filePath(QStringLiteral("mime")));
    if (entryChanged)
        refreshCache(QStringLiteral("update-desktop-database"), dir.filePath(QStringLiteral("applications")));
    return ok;
}

} // namespace backup
