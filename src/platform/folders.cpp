#include "platform/folders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace platform {

QString programFolder()
{
    const QString home = qEnvironmentVariable("ARVENA3_HOME");
    if (!home.isEmpty())
        return QDir::cleanPath(home);
    const QString exeDir = QCoreApplication::applicationDirPath();
    if (!exeDir.isEmpty() && QFileInfo(exeDir).isWritable())
        return QDir::cleanPath(exeDir);
    QString data = qEnvironmentVariable("XDG_DATA_HOME");
    if (data.isEmpty())
        data = QDir::homePath() + "/.local/share";
    return QDir::cleanPath(data + "/Arvena3");
}

QString systemFolder()
{
    const QString sys = qEnvironmentVariable("ARVENA3_SYSDIR");
    return sys.isEmpty() ? QStringLiteral("/var/lib/arvena3") : QDir::cleanPath(sys);
}

QString userConfigFolder()
{
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty())
        config = QDir::homePath() + "/.config";
    return QDir::cleanPath(config + "/arvena3");
}

} // namespace platform
