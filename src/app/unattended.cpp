#include "app/unattended.h"

#include "admin/administration.h"
#include "platform/shellopen.h"
#include "platform/session.h"
#include "datastore/settings.h"
#include "register/expiredreport.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>

#include <exception>

namespace {

// Decides the data folder as an interactive start would: the shared folder
// when it is complete, else the local one. Returns an exit status other than
// UnattendedDone when there is nothing to report on.
int chooseDataFolder(QTextStream &err)
{
    Session &s = session();
    if (!QFileInfo(s.localDataFolder).isDir()) {
        err << "Dosarul de date " << QDir::toNativeSeparators(s.localDataFolder)
            << " nu exista: raportul termenelor expirate nu a fost facut.\n";
        return UnattendedNoDataFolder;
    }
    const QString server = ReadMachineSetting(QStringLiteral("SERVER"));
    if (server.isEmpty())
        return UnattendedDone;
    if (!HoldsCompleteDatabase(server)) {
        err << "Baza de date " << QDir::toNativeSeparators(server)
            << " NU este accesibila sau este incompleta: raportul termenelor expirate nu a fost facut.\n";
        return UnattendedIncompleteServer;
    }
    s.dataFolder = server;
    return UnattendedDone;
}

} // namespace

bool DesktopCanShowReport()
{
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        || !qEnvironmentVariableIsEmpty("ARVENA3_OPEN");
}

int RunUnattendedReport(QTextStream &out, QTextStream &err)
{
    if (const int stopped = chooseDataFolder(err); stopped != UnattendedDone)
        return stopped;
    const QDate today = QDate::currentDate();
    QStringList lines;
    try {
        AdministrationValues &values = administrationValues();
        LoadAdministration(values);
        DeadlineTerms terms;
        terms.stageOneWorkingDays = values.zileEt1;
        terms.stageTwoCalendarDays = values.zileEt2;
        lines = ExpiredRequestLines(terms, values.numTip == PerRequestNumbering, today);
    } catch (const std::exception &e) {
        err << QString::fromStdString(e.what()) << '\n';
        return UnattendedDataError;
    }
    QString error;
    const QString report = WriteExpiredTermsReport(lines, today, &error);
    if (report.isEmpty()) {
        err << error << '\n';
        return UnattendedReportError;
    }
    out << QDir::toNativeSeparators(report) << '\n';
    out.flush();
    // The report stays in the program folder when no program can show it.
    if (DesktopCanShowReport())
        platform::openWithAssociatedProgram(report);
    return UnattendedDone;
}
