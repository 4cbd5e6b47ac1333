// arvena3-backup: backup archives without a window, for administrators and
// scheduled jobs.
//
//     arvena3-backup create [--data DIR] [--wait SECONDS] FILE.av3
//     arvena3-backup restore FILE.av3 [--data DIR] [--wait SECONDS]
//     arvena3-backup check FILE.av3
//
// "create" packs the data folder the program would work on (the shared
// server folder of the machine settings when it is complete, else the local
// "Data" folder), or DIR; the old FILE.av3 stays whole until the new one is
// complete. "restore" replaces the data with the archive's files and keeps
// the replaced ones in "DataBAK" of the program folder, as the program's
// dialog does; it also finishes a restore that a killed program left half
// done. "check" reads every entry to its declared size and lists them.
// Both wait up to SECONDS (default 600) for a transaction of another
// workstation to end instead of copying half of it. The exit status is 0
// only on success; the reason goes to standard error.
#include "admin/administration.h"
#include "backup/archive.h"
#include "backup/backupactions.h"
#include "backup/backupfiles.h"
#include "backup/pack.h"
#include "backup/restore.h"
#include "datastore/profilefile.h"
#include "datastore/settings.h"
#include "platform/filehelpers.h"
#include "platform/folders.h"
#include "platform/prompter.h"
#include "platform/session.h"
#include "platform/workstation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>

namespace {

enum Exit : int { Done = 0, Failed = 1, Usage = 2 };

QTextStream &out()
{
    static QTextStream stream(stdout);
    return stream;
}

QTextStream &err()
{
    static QTextStream stream(stderr);
    return stream;
}

// Messages of the operations go to the streams; nothing is ever asked.
class ConsolePrompter : public Prompter {
public:
    int Mesaj(const QString &title, const QString &text, int, int kind) override
    {
        const QString line = title + QStringLiteral(": ") + text.simplified();
        if (kind == KindInformation)
            out() << line << '\n';
        else
            err() << line << '\n';
        out().flush();
        err().flush();
        return ResultOk;
    }
    void ShowProblem(const QString &text, QWidget *) override { err() << text << '\n'; }
    void ShowIndication(const QString &text, QWidget *) override { out() << text << '\n'; }
    void ProgressBegin(const QString &, int) override {}
    void ProgressStep() override {}
    void ProgressEnd() override {}
};

int usage()
{
    err() << "Folosire:\n"
             "  arvena3-backup create [--data DOSAR] [--wait SECUNDE] FISIER.av3\n"
             "  arvena3-backup restore FISIER.av3 [--data DOSAR] [--wait SECUNDE]\n"
             "  arvena3-backup check FISIER.av3\n";
    return Usage;
}

// The folders of a run, as the program finds them, with the machine settings
// where the program's start would read them.
void prepareFolders()
{
    resetSession(platform::programFolder());
    session().workstationUser = platform::workstationUser();
    OpenWorkFolder();
    try {
        ProfileFile machine(MachineSettingsFilePath());
        machine.setValue(QStringLiteral("TESTUS"), QStringLiteral("Test"), QStringLiteral("0"));
        machine.removeSection(QStringLiteral("TESTUS"));
    } catch (const SettingsError &) {
        session().systemFolder = platform::userConfigFolder();
    }
}

// The data folder: DIR, else the complete server folder, else the local one.
bool chooseDataFolder(const QString &given)
{
    Session &s = session();
    if (!given.isEmpty()) {
        s.dataFolder = QDir::cleanPath(QFileInfo(given).absoluteFilePath());
    } else {
        const QString server = ReadMachineSetting(QStringLiteral("SERVER"));
        if (!server.isEmpty() && HoldsCompleteDatabase(server))
            s.dataFolder = server;
        else if (!server.isEmpty())
            err() << "Baza de date " << QDir::toNativeSeparators(server)
                  << " NU este accesibila sau este incompleta: se foloseste dosarul local.\n";
    }
    if (!QFileInfo(s.dataFolder).isDir()) {
        err() << "Dosarul de date " << QDir::toNativeSeparators(s.dataFolder) << " nu exista.\n";
        return false;
    }
    return true;
}

int create(const QString &target)
{
    ConsolePrompter prompter;
    const backup::PackResult result = backup::Pack(QFileInfo(target).absoluteFilePath(), prompter);
    if (!result.ok) {
        err() << "Salvarea nu a fost facuta: " << result.reason << '\n';
        return Failed;
    }
    out() << QDir::toNativeSeparators(QFileInfo(target).absoluteFilePath()) << '\n';
    return Done;
}

int restore(const QString &archive)
{
    ConsolePrompter prompter;
    QString reason;
    const auto interrupted = backup::FinishInterruptedRestore(session().programFolder, &reason);
    backup::ReportInterruptedRestore(interrupted, session().programFolder, prompter);
    if (interrupted == backup::InterruptedRestore::Stuck) {
        err() << reason << '\n';
        return Failed;
    }
    if (!backup::RestoreFromArchive(QFileInfo(archive).absoluteFilePath(), prompter, &reason)) {
        err() << reason << '\n';
        return Failed;
    }
    return Done;
}

int check(const QString &archive)
{
    QList<backup::ArchiveEntry> entries;
    QString reason;
    const bool ok = backup::CheckArchive(archive, &entries, &reason);
    for (const backup::ArchiveEntry &e : entries)
        out() << e.name << '\t' << e.size << '\n';
    if (!ok) {
        err() << "Arhiva " << QDir::toNativeSeparators(archive) << " este deteriorata: " << reason << '\n';
        return Failed;
    }
    return Done;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty())
        return usage();
    const QString command = args.takeFirst();
    QString data;
    QString file;
    int waitSeconds = 600;
    while (!args.isEmpty()) {
        const QString arg = args.takeFirst();
        if (arg == QLatin1String("--data") && !args.isEmpty()) {
            data = args.takeFirst();
        } else if (arg == QLatin1String("--wait") && !args.isEmpty()) {
            bool ok = false;
            waitSeconds = args.takeFirst().toInt(&ok);
            if (!ok || waitSeconds < 0)
                return usage();
        } else if (file.isEmpty() && !arg.startsWith(QLatin1String("--"))) {
            file = arg;
        } else {
            return usage();
        }
    }
    if (file.isEmpty() || (command == QLatin1String("check") && !data.isEmpty()))
        return usage();
    if (command == QLatin1String("check"))
        return check(file);
    if (command != QLatin1String("create") && command != QLatin1String("restore"))
        return usage();

    prepareFolders();
    if (!chooseDataFolder(data))
        return Failed;
    backup::SetBackupLockWait(waitSeconds * 1000);
    const int status = command == QLatin1String("create") ? create(file) : restore(file);
    RemoveWorkFolder();
    return status;
}
