#include "testsupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QStandardPaths>

namespace testsupport {

TempFolder::TempFolder() : dir_(QDir::tempPath() + "/arvena3-test-XXXXXX") {}

QString outputFolder(const QString &sub)
{
    QString base = qEnvironmentVariable("ARVENA3_TEST_OUTPUT");
    if (base.isEmpty())
        base = QCoreApplication::applicationDirPath() + "/../test-output";
    const QString path = QDir(base).filePath(sub);
    QDir().mkpath(path);
    return QDir(path).absolutePath();
}

QString binary(const QString &name)
{
    QString bin = qEnvironmentVariable("ARVENA3_BIN");
    if (bin.isEmpty())
        bin = QCoreApplication::applicationDirPath();
    return QDir(bin).filePath(name);
}

QString sourceRoot()
{
    return qEnvironmentVariable("ARVENA3_SOURCE");
}

int runProgram(const QString &program, const QStringList &args, QByteArray *out, QByteArray *err,
               int timeoutMs, const QByteArray &input)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForStarted(10000))
        return -1;
    if (!input.isEmpty())
        p.write(input);
    p.closeWriteChannel();
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished();
        return -1;
    }
    if (out)
        *out = p.readAllStandardOutput();
    if (err)
        *err = p.readAllStandardError();
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

bool haveTool(const QString &name)
{
    return !QStandardPaths::findExecutable(name).isEmpty();
}

} // namespace testsupport
