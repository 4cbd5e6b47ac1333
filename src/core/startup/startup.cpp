#include "core/startup/startup.h"

#include "core/filehelpers.h"
#include "core/platform/folders.h"
#include "core/platform/privatefolder.h"
#include "core/platform/workstation.h"
#include "core/session.h"

#include <QDir>
#include <QLocale>

void ApplyFixedFormats()
{
    // The C locale writes "." in numbers; dates are always formatted with an
    // explicit "dd.MM.yyyy" in this program.
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::OmitGroupSeparator);
    QLocale::setDefault(c);
}

void PrepareRunFolders()
{
    resetSession(platform::programFolder());
    Session &s = session();
    s.workstationUser = platform::workstationUser();
    s.administrationUnlocked = false;
    OpenWorkFolder();
    s.enginePrivateFolder = platform::choosePrivateFolder(s.programFolder);
}

bool IsUnattendedReportArgument(const QString &firstArgument)
{
    return firstArgument.trimmed() == QLatin1String("-t");
}
