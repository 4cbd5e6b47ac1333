// Several processes on one table: concurrent writers and a reader, and a
// writer killed in the middle of its work.
#include "datastore/dbf/tablecheck.h"
#include "datastore/sql/database.h"
#include "enginefixture.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QSet>
#include <QThread>

using namespace sqlstore;
using enginetest::quoted;

namespace {

QString nameOf(qint64 id)
{
    return QString::fromUtf8("Ştefan Ţăran %1 îâ").arg(id);
}

class SharingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        table = dir.path() + "/AlteActe.dbf";
        database().exec("CREATE TABLE " + quoted(table)
                        + " (ID DECIMAL(10,0), NUME CHAR(40), CONTROL DECIMAL(12,0), DATAA DATE)");
    }

    void startWorker(QProcess &p, const QStringList &args)
    {
        p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p.start(testsupport::binary("engine_worker"), args);
        ASSERT_TRUE(p.waitForStarted(10000));
    }

    // Every row intact, as seen by us.
    void expectIntactRows(int expected = -1)
    {
        Query q = database().query("SELECT ID, NUME, CONTROL, DATAA FROM " + quoted(table));
        if (expected >= 0) {
            EXPECT_EQ(q.rowCount(), expected);
        }
        QSet<qint64> ids;
        for (q.first(); !q.eof(); q.next()) {
            const qint64 id = q.value(0).toLongLong();
            EXPECT_EQ(q.value(1).toString(), nameOf(id));
            EXPECT_EQ(q.value(2).toLongLong(), id * 7 + 3);
            EXPECT_EQ(q.value(3).toDate(), QDate(2024, 2, 29));
            ids.insert(id);
        }
        EXPECT_EQ(ids.size(), q.rowCount()) << "a row was written twice";
    }

    // The header's count matches the rows in the file, and dbfdump reads
    // every one of them.
    void expectSoundForOtherReaders()
    {
        EXPECT_TRUE(dbf::checkTable(table).isEmpty()) << dbf::checkTable(table).join("; ").toStdString();
        QFile f(table);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray h = f.read(12);
        const quint32 count = quint8(h[4]) | quint8(h[5]) << 8 | quint8(h[6]) << 16 | quint32(quint8(h[7])) << 24;
        const int headerLength = quint8(h[8]) | quint8(h[9]) << 8;
        const int recordLength = quint8(h[10]) | quint8(h[11]) << 8;
        EXPECT_GE(f.size(), qint64(headerLength) + qint64(count) * recordLength);
        if (!testsupport::haveTool("dbfdump"))
            return;
        QByteArray out;
        ASSERT_EQ(testsupport::runProgram("dbfdump", {"-m", table}, &out), 0);
        EXPECT_EQ(quint32(out.count("Record: ")), count);
    }

    testsupport::TempFolder dir;
    QString table;
};

TEST_F(SharingTest, TwoWritersAndAReaderAtOnce)
{
    const QString stop = dir.path() + "/stop";
    QProcess reader, first, second;
    startWorker(reader, {"read", table, stop});
    startWorker(first, {"insert", table, "1", "2000"});
    startWorker(second, {"insert", table, "100001", "2000"});
    ASSERT_TRUE(first.waitForFinished(240000));
    ASSERT_TRUE(second.waitForFinished(240000));
    QFile(stop).open(QIODevice::WriteOnly);
    ASSERT_TRUE(reader.waitForFinished(60000));
    EXPECT_EQ(first.exitCode(), 0);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(reader.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(reader.exitCode(), 0);
    const QByteArray said = reader.readAllStandardOutput();
    EXPECT_TRUE(said.startsWith("passes ")) << said.toStdString();
    std::printf("reader: %s", said.constData());
    expectIntactRows(4000);
    expectSoundForOtherReaders();
}

TEST_F(SharingTest, KilledWriterLeavesEveryTableReadable)
{
    struct Case {
        const char *mode;
        int delayMs;
    };
    const Case cases[] = {{"insertloop", 150}, {"insertloop", 420}, {"update", 200},
                          {"update", 370},     {"pack", 180},       {"pack", 450}};
    int seeded = 0;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.mode);
        for (int i = 0; i < 150; ++i, ++seeded)
            database().exec("INSERT INTO " + quoted(table) + " (ID, NUME, CONTROL, DATAA) VALUES (?,?,?,?)",
                            {seeded, nameOf(seeded), seeded * 7 + 3, QDate(2024, 2, 29)});
        QProcess worker;
        QStringList args = {c.mode, table};
        if (QString(c.mode) == "insertloop")
            args << QString::number(500000 + seeded * 1000);
        startWorker(worker, args);
        // The delay counts from the worker's first finished operation, so the
        // kill falls in the middle of its work on any machine.
        QByteArray said;
        while (!said.contains("working") && worker.waitForReadyRead(30000))
            said += worker.readAllStandardOutput();
        ASSERT_TRUE(said.contains("working")) << said.toStdString();
        QThread::msleep(c.delayMs);
        ASSERT_EQ(worker.state(), QProcess::Running) << "the worker ended early";
        worker.kill();
        worker.waitForFinished(10000);
        expectIntactRows();
        expectSoundForOtherReaders();
    }
}

} // namespace
