#include "platform/shellopen.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

namespace platform {

namespace {

bool runOverride(const QString &command, const QString &path)
{
    QStringList args = QProcess::splitCommand(command);
    if (args.isEmpty())
        return false;
    const QString program = args.takeFirst();
    args.append(path);
    // Owned by the application, so a command that keeps running (a real
    // word processor) is left alone instead of being killed on return.
    auto *process = new QProcess(QCoreApplication::instance());
    QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    process->start(program, args);
    if (!process->waitForStarted(10000)) {
        process->deleteLater();
        return false;
    }
    process->waitForFinished(5000);
    return true;
}

// The desktop's own opener hands the file to the program associated with its
// type and returns at once.
bool openWithDesktop(const QString &path)
{
#ifdef Q_OS_WIN
    return QProcess::startDetached(QStringLiteral("cmd"), {QStringLiteral("/c"), QStringLiteral("start"), QString(), path});
#else
    return QProcess::startDetached(QStringLiteral("xdg-open"), {path});
#endif
}

} // namespace

bool openWithAssociatedProgram(const QString &path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    const QString command = qEnvironmentVariable("ARVENA3_OPEN");
    if (!command.isEmpty())
        return runOverride(command, absolute);
    return openWithDesktop(absolute);
}

bool startProgram(const QString &path, const QStringList &arguments, const QString &workingFolder)
{
    const QFileInfo program(path);
    if (!program.isExecutable()) {
        QFile file(path);
        file.setPermissions(file.permissions() | QFile::ExeOwner | QFile::ExeUser);
    }
    return QProcess::startDetached(program.absoluteFilePath(), arguments, workingFolder);
}

} // namespace platform
