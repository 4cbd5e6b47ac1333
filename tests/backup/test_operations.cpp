// Backup and restore as the clerk runs them: the manual backup, the restore
// with "DataBAK", the closing backup and working inside an archive.
#include "backup/archive.h"
#include "backup/backupactions.h"
#include "backup/backupfiles.h"
#include "backup/pack.h"
#include "backup/restore.h"

#include "backupfixture.h"
#include "scriptedprompter.h"

#include <QFileInfo>

using namespace archivebytes;

namespace {

class Chooser : public backup::BackupFileChooser {
public:
    QString save;
    QString open;
    QString chooseSaveFile() override { return save; }
    QString chooseOpenFile() override { return open; }
};

QStringList messages(const ScriptedPrompter &p)
{
    QStringList out;
    for (const auto &q : p.questions)
        out << q.title + ": " + q.text;
    return out;
}

} // namespace

class BackupOperations : public BackupFixture {};

TEST_F(BackupOperations, AnArchiveHoldsTheDataFilesWithoutIndexesOrEngineFiles)
{
    addEngineAndIndexFiles();
    addDocuments(3);
    ScriptedPrompter prompter;
    const QString target = program.file("out/a.av3");
    QDir().mkpath(program.file("out"));
    ASSERT_TRUE(backup::Pack(target, prompter).ok);
    // The bar follows the bytes packed to its end.
    EXPECT_TRUE(prompter.progress.contains("begin Pregatesc datele... 0"));
    EXPECT_TRUE(prompter.progress.contains("begin Salvez datele... 100"));
    EXPECT_EQ(prompter.progress.count("step"), 100);

    QList<backup::ArchiveEntry> entries;
    QString reason;
    ASSERT_TRUE(backup::CheckArchive(target, &entries, &reason)) << reason.toStdString();
    QStringList names;
    for (const auto &e : entries)
        names << e.name;
    // Six tables, the settings file, three documents; no index, no empty
    // file, no journal or lock.
    EXPECT_EQ(names.size(), 10) << names.join(",").toStdString();
    for (const QString &name : names) {
        EXPECT_FALSE(name.endsWith(".mdx", Qt::CaseInsensitive));
        EXPECT_FALSE(backup::IsEngineFile(name)) << name.toStdString();
        EXPECT_NE(name, "gol.txt");
    }
    QDir().mkpath(program.file("back"));
    ASSERT_TRUE(backup::UnpackArchive(target, program.file("back"), {}, &reason));
    for (const QString &name : names) {
        const QByteArray bytes = read(QDir(program.file("back")).filePath(name));
        if (name.endsWith(".dbf", Qt::CaseInsensitive)) {
            ASSERT_GT(bytes.size(), 28);
            EXPECT_EQ(bytes.at(28), '\0') << name.toStdString();
            // Apart from the flag, the table is the one in the data folder.
            QByteArray original = read(dataFile(name));
            original[28] = '\0';
            EXPECT_EQ(bytes, original) << name.toStdString();
        } else {
            EXPECT_EQ(bytes, read(dataFile(name))) << name.toStdString();
        }
    }
    // The data folder itself keeps its index and flag: only the copy is cleaned.
    EXPECT_TRUE(QFile::exists(dataFile("Cereri.mdx")));
    EXPECT_EQ(read(dataFile("Cereri.dbf")).at(28), '\x01');
    // No scratch copy stays behind.
    EXPECT_TRUE(QDir(program.file("Temp")).entryList(QStringList{"SaveTmp*"}, QDir::Dirs).isEmpty());
}

TEST_F(BackupOperations, ManualBackupWritesReplacesAndReports)
{
    Chooser chooser;
    chooser.save = program.file("salvare");
    ScriptedPrompter prompter;
    bool hidden = false;
    ASSERT_TRUE(backup::SaveBackupCopy(prompter, chooser, {}, [&] { hidden = true; }));
    EXPECT_TRUE(hidden);
    EXPECT_TRUE(QFile::exists(program.file("salvare.av3")));
    EXPECT_EQ(messages(prompter), QStringList{"Informatie: \rSalvare incheiata cu succes !"});

    // Replacing asks first; "Nu" leaves the old archive alone.
    const QByteArray before = read(program.file("salvare.av3"));
    addRequest(2);
    chooser.save = program.file("salvare.av3");
    ScriptedPrompter no;
    no.answer(ResultNo);
    EXPECT_FALSE(backup::SaveBackupCopy(no, chooser, {}, {}));
    EXPECT_EQ(no.questions.value(0).text, "\rVreti sa inlocuiti salvarea " + program.file("salvare.av3") + "?");
    EXPECT_EQ(read(program.file("salvare.av3")), before);
    ScriptedPrompter yes;
    yes.answer({ResultYes, ResultYes});
    QString sent;
    EXPECT_TRUE(backup::SaveBackupCopy(yes, chooser, [&](const QString &f) { sent = f; }, {}));
    EXPECT_NE(read(program.file("salvare.av3")), before);
    EXPECT_EQ(yes.questions.last().title, "Copie la Distanta");
    EXPECT_EQ(sent, program.file("salvare.av3"));
}

TEST_F(BackupOperations, ABackupFileInsideTheDataFolderIsRefused)
{
    ASSERT_TRUE(QFile::link(data, program.file("legatura")));
    for (const QString &choice : {dataFile("x.av3"), data.toUpper() + "/x.av3", program.file("legatura/x.av3"),
                                  data + "/../Data/x.av3"}) {
        Chooser chooser;
        chooser.save = choice;
        ScriptedPrompter prompter;
        EXPECT_FALSE(backup::SaveBackupCopy(prompter, chooser, {}, {})) << choice.toStdString();
        EXPECT_EQ(messages(prompter), QStringList{"Salvare date: \rNu puteti salva aici!"}) << choice.toStdString();
    }
    EXPECT_FALSE(QFile::exists(dataFile("x.av3")));
    ScriptedPrompter direct;
    EXPECT_FALSE(backup::Pack(dataFile("y.av3"), direct).ok);
}

TEST_F(BackupOperations, AFolderOfEmptyFilesCannotBeBackedUp)
{
    for (const QString &name : QDir(data).entryList(QDir::Files))
        QFile::remove(dataFile(name));
    write(dataFile("gol.dbf"), QByteArray());
    write(dataFile("gol.set"), QByteArray());
    Chooser chooser;
    chooser.save = program.file("a.av3");
    ScriptedPrompter prompter;
    EXPECT_FALSE(backup::SaveBackupCopy(prompter, chooser, {}, {}));
    EXPECT_EQ(messages(prompter), QStringList{"Salvare: \rNu pot scrie pe harddisk!!"});
    EXPECT_FALSE(QFile::exists(program.file("a.av3")));
}

TEST_F(BackupOperations, AFailedBackupLeavesThePreviousArchiveWhole)
{
    ScriptedPrompter prompter;
    const QString target = program.file("a.av3");
    ASSERT_TRUE(backup::Pack(target, prompter).ok);
    const QByteArray before = read(target);
    // A file the archive cannot hold makes the new one fail half way.
    QFile big(dataFile("zz.dbf"));
    ASSERT_TRUE(big.open(QIODevice::WriteOnly));
    ASSERT_TRUE(big.resize(backup::kMaxEntrySize + 10));
    big.close();
    EXPECT_FALSE(backup::Pack(target, prompter).ok);
    EXPECT_EQ(read(target), before);
    EXPECT_EQ(QDir(program.path()).entryList({"a.av3*"}, QDir::Files | QDir::Hidden), QStringList{"a.av3"});
}

TEST_F(BackupOperations, RestoreReplacesTheDataAndKeepsTheOldInDataBAK)
{
    addEngineAndIndexFiles();
    ScriptedPrompter quiet;
    const QString archive = program.file("a.av3");
    ASSERT_TRUE(backup::Pack(archive, quiet).ok);
    const auto packed = contents(data);
    addRequest(2);
    addDocuments(2);
    const auto old = contents(data);

    Chooser chooser;
    chooser.open = archive;
    ScriptedPrompter prompter;
    prompter.answer(ResultYes);
    ASSERT_TRUE(backup::RestoreBackup(prompter, chooser, {}));
    EXPECT_EQ(messages(prompter).last(), "Informatie: Restaurare incheiata cu succes !\r\nVa rog sa porniti programul din nou !");
    const auto now = contents(data);
    EXPECT_EQ(now.value("Cereri.dbf").size(), packed.value("Cereri.dbf").size());
    EXPECT_FALSE(now.contains("Doc0.rtf"));
    EXPECT_EQ(now.value("Log.dbf"), packed.value("Log.dbf"));
    // The engine's files stayed where they were; the replaced files wait in DataBAK.
    EXPECT_TRUE(now.contains(dbf::kJournalFileName));
    EXPECT_TRUE(now.contains("Arv2.set.lck"));
    const auto kept = contents(program.file("DataBAK"));
    EXPECT_EQ(kept.value("Doc0.rtf"), old.value("Doc0.rtf"));
    EXPECT_EQ(kept.value("Cereri.dbf"), old.value("Cereri.dbf"));
    EXPECT_FALSE(kept.contains(dbf::kJournalFileName));
    EXPECT_FALSE(QFile::exists(program.file(backup::kRestoreNoteName)));
}

TEST_F(BackupOperations, ARestoreThatFailsHalfWayPutsEverythingBack)
{
    write(program.file("b.av3"), int32(2) + entry("Cereri.dbf", read(dataFile("Cereri.dbf")) + "x")
                                     + entry("zzz.txt", "new"));
    // A folder in the way of the last file: its copy fails after the old
    // files were moved out and the first new one was placed.
    QDir().mkpath(dataFile("zzz.txt"));
    const auto old = contents(data);
    ScriptedPrompter prompter;
    QString reason;
    EXPECT_FALSE(backup::RestoreFromArchive(program.file("b.av3"), prompter, &reason));
    EXPECT_EQ(messages(prompter), QStringList{"Restaurare date: Restaurare esuata!"});
    EXPECT_FALSE(reason.isEmpty());
    EXPECT_EQ(contents(data), old);
    EXPECT_FALSE(QFile::exists(program.file(backup::kRestoreNoteName)));
}

TEST_F(BackupOperations, DamagedArchivesAreRefusedWithTheDataUntouched)
{
    std::vector<Malformed> bad = malformedArchives();
    bad.push_back({"a journal of another program", int32(1) + entry(dbf::kJournalFileName, "not a journal")});
    for (const Malformed &m : bad) {
        write(program.file("bad.av3"), m.bytes);
        const QStringList before = tree(program.path());
        const Session started = session();
        // The dialog's restore.
        ScriptedPrompter restoring;
        EXPECT_FALSE(backup::RestoreFromArchive(program.file("bad.av3"), restoring)) << m.label;
        EXPECT_EQ(messages(restoring), QStringList{"Restaurare date: Restaurare esuata!"}) << m.label;
        EXPECT_EQ(tree(program.path()), before) << m.label;
        // The archive given on the command line.
        ScriptedPrompter opening;
        EXPECT_FALSE(backup::OpenBackupForWork(program.file("bad.av3"), opening)) << m.label;
        EXPECT_EQ(messages(opening), QStringList{"Restaurare date: Restaurare esuata!"}) << m.label;
        EXPECT_EQ(session().dataFolder, started.dataFolder);
        EXPECT_TRUE(session().openedBackup.isEmpty());
        EXPECT_EQ(tree(program.path()), before) << m.label;
        EXPECT_FALSE(QFile::exists("/tmp/arvena3-evil.txt"));
    }
}

TEST_F(BackupOperations, TheNextStartFinishesARestoreTheProgramDidNotEnd)
{
    const auto old = contents(data);
    // Killed while the old files were moving out: those still in the data
    // folder are old ones, whatever the archive holds; the moved ones come back.
    QDir().mkpath(program.file("DataBAK"));
    ASSERT_TRUE(QFile::rename(dataFile("Cereri.dbf"), program.file("DataBAK/Cereri.dbf")));
    write(program.file(backup::kRestoreNoteName), "ARVENA3 RESTAURARE\nmut\n" + data.toUtf8() + "\nLog.dbf\nCereri.dbf\n");
    EXPECT_EQ(backup::FinishInterruptedRestore(program.path()), backup::InterruptedRestore::RolledBack);
    EXPECT_EQ(contents(data), old);

    // Killed while the new files were coming in: they go, the old come back.
    ASSERT_TRUE(QFile::rename(dataFile("Cereri.dbf"), program.file("DataBAK/Cereri.dbf")));
    write(dataFile("Nou.rtf"), "placed by the restore");
    write(program.file(backup::kRestoreNoteName), "ARVENA3 RESTAURARE\npun\n" + data.toUtf8() + "\nNou.rtf\nCereri.dbf\n");
    EXPECT_EQ(backup::FinishInterruptedRestore(program.path()), backup::InterruptedRestore::RolledBack);
    EXPECT_EQ(contents(data), old);
    ScriptedPrompter told;
    backup::ReportInterruptedRestore(backup::InterruptedRestore::RolledBack, program.path(), told);
    EXPECT_TRUE(told.questions.value(0).text.contains("au fost puse la loc"));

    // Killed after the last file was placed: the restored data stay.
    write(program.file(backup::kRestoreNoteName), "ARVENA3 RESTAURARE\ngata\n" + data.toUtf8() + "\nCereri.dbf\n");
    EXPECT_EQ(backup::FinishInterruptedRestore(program.path()), backup::InterruptedRestore::Completed);
    EXPECT_EQ(contents(data), old);
    EXPECT_EQ(backup::FinishInterruptedRestore(program.path()), backup::InterruptedRestore::None);
}

TEST_F(BackupOperations, ClosingQuestionsFollowTheWorkingMode)
{
    WriteMachineSetting("CALESALVARI", program.file("Salvari"));
    ScriptedPrompter locked;
    EXPECT_FALSE(backup::AskClosingBackup(locked, false));
    EXPECT_TRUE(locked.questions.isEmpty());
    ScriptedPrompter local;
    local.answer(ResultYes);
    EXPECT_TRUE(backup::AskClosingBackup(local, true));
    EXPECT_EQ(messages(local), QStringList{"Salvare Automata: \rDoriti sa facem o copie la datele de azi?"});

    WriteMachineSetting("CALESALVARI", "-");
    ScriptedPrompter disabled;
    EXPECT_FALSE(backup::AskClosingBackup(disabled, true));
    EXPECT_TRUE(disabled.questions.isEmpty());

    // Inside an archive "Nu" to the changes is the last word.
    WriteMachineSetting("CALESALVARI", program.file("Salvari"));
    session().openedBackup = program.file("x.av3");
    ScriptedPrompter inside;
    inside.answer({ResultNo, ResultYes});
    EXPECT_FALSE(backup::AskClosingBackup(inside, true));
    EXPECT_EQ(messages(inside), QStringList{"Salvare modificari: \rDoriti sa salvati modificarile ?"});
    session().openedBackup.clear();

    session().dataFolder = program.file("server");
    ScriptedPrompter server;
    EXPECT_FALSE(backup::AskClosingBackup(server, true));
    EXPECT_TRUE(server.questions.isEmpty());
    session().dataFolder = data;
}

TEST_F(BackupOperations, TheClosingBackupTakesTheNextFreeNameAndRefusesTheDataFolder)
{
    const QString folder = program.file("Salvari");
    QDir().mkpath(folder);
    write(folder + "/05032024_0.av3", "old");
    EXPECT_EQ(backup::ClosingBackupTarget(folder, QDate(2024, 3, 5)), folder + "/05032024_1.av3");

    WriteMachineSetting("CALESALVARI", folder + "/nou");
    ScriptedPrompter prompter;
    const auto made = backup::MakeClosingBackup(prompter, {}, QDate(2024, 3, 5));
    EXPECT_TRUE(made.ok);
    EXPECT_EQ(made.target, folder + "/nou/05032024_0.av3");
    EXPECT_TRUE(prompter.questions.isEmpty());

    WriteMachineSetting("CALESALVARI", data);
    ScriptedPrompter refused;
    EXPECT_FALSE(backup::MakeClosingBackup(refused, {}, QDate(2024, 3, 5)).ok);
    EXPECT_EQ(messages(refused), QStringList{"Salvare automata: \rNu puteti salva aici!"});
    EXPECT_TRUE(QDir(data).entryList({"*.av3"}).isEmpty());
}

TEST_F(BackupOperations, WorkingInsideAnArchiveSavesIntoItOrKeepsTheWork)
{
    addDocuments(2);
    ScriptedPrompter quiet;
    const QString archive = program.file("lucru.AV3");
    ASSERT_TRUE(backup::Pack(archive, quiet).ok);
    const Session before = session();
    ASSERT_TRUE(backup::IsBackupArchivePath(archive));
    ASSERT_TRUE(backup::OpenBackupForWork(archive, quiet));
    EXPECT_EQ(session().openedBackup, archive);
    EXPECT_NE(session().dataFolder, before.dataFolder);
    EXPECT_TRUE(QFile::exists(session().dataFolder + "/Doc1.rtf"));

    // A day's work, then a save that fails: the work is kept, the archive is whole.
    write(session().dataFolder + "/Doc9.rtf", "today's work");
    QFile big(session().dataFolder + "/zz.dbf");
    ASSERT_TRUE(big.open(QIODevice::WriteOnly));
    ASSERT_TRUE(big.resize(backup::kMaxEntrySize + 10));
    big.close();
    const QByteArray saved = read(archive);
    ScriptedPrompter failing;
    const auto result = backup::MakeClosingBackup(failing, {}, QDate::currentDate());
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(read(archive), saved);
    ASSERT_FALSE(result.keptWork.isEmpty());
    EXPECT_EQ(read(result.keptWork + "/Doc9.rtf"), QByteArray("today's work"));
    EXPECT_TRUE(failing.questions.value(0).text.startsWith("\rEroare la salvare!"));
    EXPECT_TRUE(failing.questions.value(0).text.contains(result.keptWork));
    session() = before;
}

TEST_F(BackupOperations, ADamagedArchiveOpenedAtStartIsReportedAndLeftAlone)
{
    write(program.file("rupt.av3"), int32(1) + entry("Cereri.dbf", read(dataFile("Cereri.dbf"))).chopped(20));
    const QByteArray damaged = read(program.file("rupt.av3"));
    const Session before = session();
    ScriptedPrompter prompter;
    EXPECT_FALSE(backup::OpenBackupForWork(program.file("rupt.av3"), prompter));
    EXPECT_EQ(messages(prompter), QStringList{"Restaurare date: Restaurare esuata!"});
    EXPECT_EQ(session().dataFolder, before.dataFolder);
    EXPECT_EQ(session().programFolder, before.programFolder);
    EXPECT_TRUE(session().openedBackup.isEmpty());
    EXPECT_TRUE(QDir(program.file("Temp")).entryList({"SAV*"}, QDir::Dirs).isEmpty());
    // Nothing can then write into the damaged archive at closing.
    ScriptedPrompter closing;
    closing.answer(ResultYes);
    backup::AskClosingBackup(closing, true);
    EXPECT_NE(closing.questions.value(0).title, "Salvare modificari");
    EXPECT_EQ(read(program.file("rupt.av3")), damaged);
}
