#include "platform/workstation.h"

#include <QSysInfo>

#include <pwd.h>
#include <unistd.h>

namespace platform {

namespace {

// The host's own name without its domain, as a Windows computer name is.
QString computerName()
{
    const QString host = QSysInfo::machineHostName();
    return host.section('.', 0, 0);
}

QString loginName()
{
    if (const passwd *pw = ::getpwuid(::geteuid()); pw && pw->pw_name && *pw->pw_name)
        return QString::fromLocal8Bit(pw->pw_name);
    for (const char *var : {"USER", "LOGNAME"}) {
        const QString name = qEnvironmentVariable(var);
        if (!name.isEmpty())
            return name;
    }
    return {};
}

} // namespace

QString composeWorkstationUser(const QString &computerName, const QString &userName)
{
    const QString user = userName.isEmpty() ? QStringLiteral("Necunoscut") : userName;
    return computerName.left(15) + " - " + user;
}

QString workstationUser()
{
    return composeWorkstationUser(computerName(), loginName());
}

} // namespace platform
