// TEMPORARY until the shared file helpers and shell opening land on main.
#pragma once
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QString>
#include <QUrl>
#include "core/session.h"
inline bool IsFileHeldOpen(const QString &path)
{
    const QFileInfo info(path);
    return QFileInfo::exists(info.dir().filePath(".~lock." + info.fileName() + "#"));
}
inline QString TempFileName(const QString &stem, const QString &ext)
{
    for (int n = 0; n < 1000; ++n) {
        const QString c = session().programFolder + "/" + stem + QString::number(n) + ext;
        if (!QFileInfo::exists(c) || (!IsFileHeldOpen(c) && QFile::remove(c)))
            return c;
    }
    return {};
}
namespace platform {
inline bool openWithAssociatedProgram(const QString &path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    const QString command = qEnvironmentVariable("ARVENA3_OPEN");
    if (!command.isEmpty()) {
        QStringList args = QProcess::splitCommand(command);
        const QString program = args.takeFirst();
        args.append(absolute);
        QProcess p;
        p.start(program, args);
        p.waitForFinished(30000);
        return true;
    }
    return QDesktopServices::openUrl(QUrl::fromLocalFile(absolute));
}
}
