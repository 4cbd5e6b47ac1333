#include "app/startupsequence.h"

#include "admin/administration.h"
#include "backup/backupactions.h"
#include "backup/filetype.h"
#include "backup/restore.h"
#include "app/startup.h"
#include "app/startupview.h"
#include "platform/filehelpers.h"
#include "platform/programfiles.h"
#include "platform/prompter.h"
#include "platform/session.h"
#include "platform/shellopen.h"
#include "platform/version.h"
#include "datastore/auditlog.h"
#include "datastore/calendar.h"
#include "datastore/counters.h"
#include "datastore/schema.h"
#include "datastore/settings.h"
#include "datastore/sql/sqlerror.h"
#include "dialogs/workingtables.h"
#include "templates/catalogue.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFileInfo>

#include <cmath>
#include <exception>

namespace {

const QString CR = QStringLiteral("\r");

QString shown(const QString &folder)
{
    return QDir::toNativeSeparators(folder);
}

} // namespace

int PackWeekNumber(const QDate &today)
{
    return ToDaySerial(today) / 7;
}

StartupSequence::StartupSequence(Prompter &prompter, StartupView &view)
    : prompter_(prompter), view_(view), firstArgument_(QCoreApplication::arguments().value(1))
{
}

StartupEnd StartupSequence::Run()
{
    try {
        PrepareFolders();
        CreateLocalDataFolder();
        ChooseSystemFolder();
        FinishInterruptedRestore();
        RecordVersion();
        if (HandOverToInstaller())
            return StartupEnd::InstallerStarted;
        const bool insideArchive = OpenBackupGivenAtStart();
        view_.letMessagesRun();
        if (!insideArchive)
            ChooseServerFolder();
        LoadAdministrationValues();
        PrepareTables();
        WeeklyPack();
        ShowWorkingMode();
        RecountNextIds();
        WriteTemplates();
        SetMainCaption();
        // Once more just before the clerk works: on a shared folder another
        // workstation may have added rows meanwhile.
        RecountNextIds();
        ShowMainWindow();
    } catch (const std::exception &e) {
        reportError(QString::fromStdString(e.what()));
        Finish();
        return StartupEnd::Failed;
    }
    Finish();
    return StartupEnd::Completed;
}

void StartupSequence::PrepareFolders()
{
    ApplyFixedFormats();
    PrepareRunFolders();
    // The request dialog's working tables left by a copy that was closed or
    // killed with the dialog open (those of running copies stay).
    RemoveStaleWorkingTables(session().programFolder);
    prompter_.ProgressBegin(QString(), 100);
    view_.letMessagesRun();
}

void StartupSequence::CreateLocalDataFolder()
{
    QDir().mkpath(session().localDataFolder);
}

void StartupSequence::ChooseSystemFolder()
{
    ChooseWritableSystemFolder();
}

void StartupSequence::FinishInterruptedRestore()
{
    const QString programFolder = session().programFolder;
    backup::ReportInterruptedRestore(backup::FinishInterruptedRestore(programFolder), programFolder, prompter_);
}

void StartupSequence::RecordVersion()
{
    WriteMachineSetting(QStringLiteral("CALE"), shown(session().programFolder));
    WriteMachineSetting(QStringLiteral("VER"), VersionText());
    WriteSettingNumber(QStringLiteral("99"), QStringLiteral("VER"), std::llround(ProgramVersion * 10000));
}

bool StartupSequence::HandOverToInstaller()
{
    const QString started = ReadSetting(QStringLiteral("CONST"), QStringLiteral("Lansat"));
    const QString installer = QDir(session().programFolder).filePath(platform::kInstallerFileName);
    if (!QFileInfo::exists(installer)) {
        if (started == QLatin1String("DA"))
            WriteSetting(QStringLiteral("CONST"), QStringLiteral("Lansat"), QStringLiteral("NU"));
        return false;
    }
    // Still being downloaded: leave it for a later start.
    if (IsFileHeldOpen(installer))
        return false;
    if (started == QLatin1String("DA")) {
        QFile::remove(installer);
        return false;
    }
    WriteSetting(QStringLiteral("CONST"), QStringLiteral("Lansat"), QStringLiteral("DA"));
    if (platform::startProgram(installer, {shown(QCoreApplication::applicationFilePath())},
                               session().programFolder))
        return true;
    // Lansat stays "DA", so the next start deletes the file it cannot run.
    prompter_.Mesaj(QStringLiteral("Instalare versiune noua"),
                    QStringLiteral("Programul de instalare ") + shown(installer) + CR
                        + QStringLiteral("NU poate fi pornit!"),
                    ButtonOk, KindError);
    return false;
}

bool StartupSequence::OpenBackupGivenAtStart()
{
    if (firstArgument_.isEmpty() || !QFileInfo(firstArgument_).isFile()) {
        backup::RegisterBackupType(QCoreApplication::applicationFilePath());
        return false;
    }
    if (!backup::IsBackupArchivePath(firstArgument_))
        return false;
    return backup::OpenBackupForWork(firstArgument_, prompter_);
}

void StartupSequence::ChooseServerFolder()
{
    const QString server = ReadMachineSetting(QStringLiteral("SERVER"));
    if (server.isEmpty())
        return;
    if (HoldsCompleteDatabase(server)) {
        session().dataFolder = QDir::cleanPath(QDir::fromNativeSeparators(server));
        return;
    }
    prompter_.Mesaj(QStringLiteral("Conectare server"),
                    QStringLiteral("Baza de date ") + server + CR
                        + QStringLiteral("NU este accesibila sau este incompleta!") + CR
                        + QStringLiteral("Verificati conexiunea si baza si reporniti programul!"),
                    ButtonOk, KindError);
}

void StartupSequence::LoadAdministrationValues()
{
    LoadAdministration(administrationValues());
    view_.showAdministrationValues();
}

void StartupSequence::PrepareTables()
{
    view_.setStatus(QStringLiteral("Verific baza de date ..."));
    prompter_.ProgressBegin(QString(), 100);
    view_.letMessagesRun();
    CreateTables();
    TrimLog();
    UpgradeSchema([] { ExtractTemplates(); });
}

void StartupSequence::WeeklyPack()
{
    prompter_.ProgressBegin(QString(), 6);
    const int week = PackWeekNumber(QDate::currentDate());
    const qint64 lastPacked = ReadSettingNumber(QStringLiteral("CONST"), QStringLiteral("LASTPACK")) / 10000;
    const bool due = lastPacked != week;
    const auto advance = [this] {
        prompter_.ProgressStep();
        view_.letMessagesRun();
    };
    if (!due) {
        for (int table = 0; table < PackedTables().size(); ++table)
            advance();
        return;
    }
    // Recorded first, so that the other workstations of a shared folder do
    // not try again this week, whatever happens to this pack.
    WriteSettingNumber(QStringLiteral("CONST"), QStringLiteral("LASTPACK"), qint64(week) * 10000);
    try {
        PackTables(advance);
    } catch (const sqlstore::SqlError &e) {
        reportError(e.message());
    }
}

void StartupSequence::ShowWorkingMode()
{
    const Session &s = session();
    if (!s.openedBackup.isEmpty()) {
        view_.setWorkingMode(QStringLiteral("Lucru in salvarea: ") + QFileInfo(s.openedBackup).fileName().toUpper()
                             + QLatin1Char('.'));
        return;
    }
    if (QDir::cleanPath(s.dataFolder) == QDir::cleanPath(s.localDataFolder)) {
        view_.setWorkingMode(QStringLiteral("Lucru local."));
        return;
    }
    view_.setServerFolder(shown(s.dataFolder));
    view_.setWorkingMode(QStringLiteral("Lucru in retea: ") + shown(s.dataFolder));
}

void StartupSequence::WriteTemplates()
{
    QString error;
    if (!ExtractTemplates(&error))
        reportError(error);
}

void StartupSequence::SetMainCaption()
{
    view_.setMainCaption(QStringLiteral("Arv3") + QStringLiteral("  ver.") + VersionText());
}

void StartupSequence::ShowMainWindow()
{
    prompter_.ProgressEnd();
    view_.showMainWindow();
}

void StartupSequence::Finish()
{
    RemoveWorkFolder();
}

void StartupSequence::reportError(const QString &text)
{
    prompter_.Mesaj(QStringLiteral("Arvena3"), text, ButtonOk, KindError);
}
