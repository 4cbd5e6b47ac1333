// Backups across processes: the command-line tool, a program killed in the
// middle of a backup or a restore, and another workstation's transaction.
#include "backup/archive.h"
#include "backup/backupfiles.h"
#include "backup/pack.h"
#include "backup/restore.h"

#include "backupfixture.h"
#include "heldbyprocess.h"
#include "scriptedprompter.h"

#include <QProcess>

using namespace archivebytes;
using testsupport::binary;
using testsupport::runProgram;
using testsupport::TempFolder;

namespace {

QString av3tool()
{
    return testsupport::sourceRoot() + QStringLiteral("/tests/backup/av3tool.py");
}

// Starts a worker and waits until it says it is where the test wants it.
bool startHeld(QProcess &process, const QStringList &args)
{
    process.start(binary("backup_worker"), args);
    if (!process.waitForStarted(30000))
        return false;
    while (!process.canReadLine() && process.state() == QProcess::Running && process.waitForReadyRead(60000)) {
    }
    return process.readLine().trimmed() == "held";
}

void kill(QProcess &process)
{
    process.kill();
    process.waitForFinished(30000);
}

} // namespace

class BackupProcesses : public BackupFixture {
protected:
    void SetUp() override
    {
        BackupFixture::SetUp();
        env = QProcessEnvironment::systemEnvironment();
        env.insert("ARVENA3_HOME", program.path());
        env.insert("ARVENA3_SYSDIR", session().systemFolder);
    }

    int tool(const QStringList &args, QByteArray *out = nullptr, QByteArray *err = nullptr)
    {
        QProcess p;
        p.setProcessEnvironment(env);
        p.start(binary("arvena3-backup"), args);
        p.waitForFinished(300000);
        if (out)
            *out = p.readAllStandardOutput();
        const QByteArray e = p.readAllStandardError();
        if (err)
            *err = e;
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    }

    QProcessEnvironment env;
};

TEST_F(BackupProcesses, TheToolCreatesChecksAndRestores)
{
    addEngineAndIndexFiles();
    addDocuments(2);
    const QString archive = program.file("noapte.av3");
    QByteArray out, err;
    ASSERT_EQ(tool({"create", archive}, &out, &err), 0) << err.toStdString();
    EXPECT_TRUE(out.contains("noapte.av3"));
    // The independent reader agrees with it.
    ASSERT_EQ(runProgram("/usr/bin/python3", {av3tool(), "list", archive}, &out, &err), 0) << err.toStdString();
    EXPECT_EQ(out.count('\n'), 9);
    ASSERT_EQ(tool({"check", archive}, &out, &err), 0) << err.toStdString();
    EXPECT_TRUE(out.contains("Cereri.dbf\t"));
    EXPECT_FALSE(out.contains(".mdx"));

    const auto packed = contents(data);
    addRequest(5);
    addDocuments(4);
    ASSERT_EQ(tool({"restore", archive}, &out, &err), 0) << err.toStdString();
    auto now = contents(data);
    EXPECT_FALSE(now.contains("Doc3.rtf"));
    EXPECT_EQ(now.value("Log.dbf"), packed.value("Log.dbf"));
    EXPECT_TRUE(QFile::exists(program.file("DataBAK/Doc3.rtf")));

    // Another folder given with --data, and an archive from the independent writer.
    TempFolder other;
    write(other.file("Arv2.set"), "[CONST]\r\n");
    ASSERT_EQ(runProgram("/usr/bin/python3", {av3tool(), "write", program.file("py.av3"), other.path()}), 0);
    TempFolder target;
    write(target.file("vechi.txt"), "old");
    ASSERT_EQ(tool({"restore", program.file("py.av3"), "--data", target.path()}, &out, &err), 0) << err.toStdString();
    EXPECT_EQ(read(target.file("Arv2.set")), QByteArray("[CONST]\r\n"));
    EXPECT_FALSE(QFile::exists(target.file("vechi.txt")));

    EXPECT_EQ(tool({"create"}), 2);
    EXPECT_NE(tool({"create", "--data", program.file("nu-exista"), program.file("x.av3")}), 0);
    EXPECT_NE(tool({"create", "--data", data, dataFile("x.av3")}, nullptr, &err), 0);
    EXPECT_FALSE(err.isEmpty());
}

TEST_F(BackupProcesses, TheToolRefusesDamagedArchivesWithTheDataUnchanged)
{
    // A first run writes the machine settings file, as every start does.
    tool({"restore", program.file("nu-exista.av3")});
    for (const Malformed &m : malformedArchives()) {
        write(program.file("bad.av3"), m.bytes);
        const QStringList before = tree(program.path());
        QByteArray err;
        EXPECT_EQ(tool({"restore", program.file("bad.av3")}, nullptr, &err), 1) << m.label;
        EXPECT_TRUE(err.contains("Restaurare esuata!")) << m.label << err.toStdString();
        EXPECT_EQ(tool({"check", program.file("bad.av3")}, nullptr, &err), 1) << m.label;
        EXPECT_EQ(tree(program.path()), before) << m.label << ": " << tree(program.path()).join(" ").toStdString();
        EXPECT_FALSE(QFile::exists("/tmp/arvena3-evil.txt"));
    }
}

TEST_F(BackupProcesses, ABackupWaitsForAnotherWorkstationsTransaction)
{
    QProcess holder;
    ASSERT_TRUE(startHeld(holder, {"hold", data}));
    QProcess backup;
    backup.setProcessEnvironment(env);
    backup.start(binary("arvena3-backup"), {"create", program.file("n.av3")});
    ASSERT_TRUE(backup.waitForStarted(30000));
    // The tool must not finish while the transaction is open; whatever the
    // moment it looks, it may only see the transaction whole.
    EXPECT_FALSE(backup.waitForFinished(1500));
    holder.closeWriteChannel();
    ASSERT_TRUE(holder.waitForFinished(60000));
    ASSERT_TRUE(backup.waitForFinished(300000));
    ASSERT_EQ(backup.exitCode(), 0) << backup.readAllStandardError().toStdString();

    TempFolder out;
    QString reason;
    ASSERT_TRUE(backup::UnpackArchive(program.file("n.av3"), out.path(), {}, &reason));
    const QString cereri = out.path() + "/Cereri.dbf";
    const QString log = out.path() + "/Log.dbf";
    const auto requests = sqlstore::database().query("SELECT COUNT(*) AS N FROM \"" + cereri + "\" WHERE ID=900");
    const auto logged = sqlstore::database().query("SELECT COUNT(*) AS N FROM \"" + log + "\" WHERE ACTIUNE='Cererea 900'");
    EXPECT_EQ(requests.value(0).toInt(), 1);
    EXPECT_EQ(logged.value(0).toInt(), 1);
}

TEST_F(BackupProcesses, KillingABackupLeavesThePreviousArchiveWhole)
{
    addDocuments(40);
    const QString target = program.file("zi.av3");
    ScriptedPrompter quiet;
    ASSERT_TRUE(backup::Pack(target, quiet).ok);
    const QByteArray before = read(target);
    addRequest(7);
    for (int step : {1, 3}) {
        QProcess worker;
        ASSERT_TRUE(startHeld(worker, {"pack", program.path(), target, QString::number(step)})) << step;
        kill(worker);
        EXPECT_EQ(read(target), before) << step;
        QList<backup::ArchiveEntry> entries;
        QString reason;
        EXPECT_TRUE(backup::CheckArchive(target, &entries, &reason)) << reason.toStdString();
    }
}

TEST_F(BackupProcesses, KillingARestoreLeavesTheOldDataAndTheNextStartSaysSo)
{
    addDocuments(6);
    const QString archive = program.file("r.av3");
    ScriptedPrompter quiet;
    ASSERT_TRUE(backup::Pack(archive, quiet).ok);
    addDocuments(12);
    addRequest(8);
    const auto old = contents(data);
    const int files = int(backup::BackupFileNames(data).size());
    for (int step : {1, files, files + 3}) {
        QProcess worker;
        ASSERT_TRUE(startHeld(worker, {"restore", program.path(), archive, QString::number(step)})) << step;
        kill(worker);
        EXPECT_NE(contents(data), old) << step;
        // The next start puts the old data back and tells the clerk.
        QByteArray out, err;
        ASSERT_EQ(tool({"restore", program.file("nu-exista.av3")}, &out, &err), 1);
        EXPECT_TRUE(err.contains("au fost puse la loc")) << err.toStdString();
        EXPECT_EQ(contents(data), old) << step << tree(program.path()).join(" ").toStdString() << err.toStdString();
        EXPECT_EQ(backup::FinishInterruptedRestore(program.path()), backup::InterruptedRestore::None);
    }
}
