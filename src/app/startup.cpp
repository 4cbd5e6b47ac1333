#include "app/startup.h"

#include "platform/filehelpers.h"
#include "platform/folders.h"
#include "platform/privatefolder.h"
#include "platform/workstation.h"
#include "platform/session.h"
#include "datastore/profilefile.h"
#include "datastore/settings.h"

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

void ChooseWritableSystemFolder()
{
    try {
        ProfileFile machine(MachineSettingsFilePath());
        machine.setValue(QStringLiteral("TESTUS"), QStringLiteral("Test"), QStringLiteral("0"));
        machine.removeSection(QStringLiteral("TESTUS"));
    } catch (const SettingsError &) {
        session().systemFolder = platform::userConfigFolder();
        QDir().mkpath(session().systemFolder);
    }
}

bool IsUnattendedReportArgument(const QString &firstArgument)
{
    return firstArgument.trimmed() == QLatin1String("-t");
}
