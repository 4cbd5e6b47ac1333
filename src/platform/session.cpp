#include "platform/session.h"

#include "platform/folders.h"
#include "platform/workstation.h"

#include <QDir>

namespace {
Session makeDefault(const QString &programFolder)
{
    Session s;
    s.programFolder = QDir::cleanPath(programFolder);
    s.localDataFolder = s.programFolder + "/Data";
    s.dataFolder = s.localDataFolder;
    s.workFolder = s.programFolder + "/Temp";
    s.systemFolder = platform::systemFolder();
    s.workstationUser = platform::workstationUser();
    return s;
}
} // namespace

Session &session()
{
    static Session instance = makeDefault(platform::programFolder());
    return instance;
}

void resetSession(const QString &programFolder)
{
    session() = makeDefault(programFolder);
}
