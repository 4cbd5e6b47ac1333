// The register's operations across processes: a workstation killed at any
// point leaves every request whole or absent, and two workstations adding at
// once never share a register number.
#include "registertesting.h"

#include "datastore/counters.h"
#include "testsupport.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QThread>

#include <csignal>

using namespace registertest;
using sqlstore::database;

namespace {

QString worker()
{
    return testsupport::binary("register_worker");
}

// What is wrong with the requests of the data folder, or empty text: each
// must have its sellers, its holders, its opening acts numbered right after
// it, and its log row; no row may belong to a missing request.
QString firstProblem()
{
    sqlstore::Query requests = database().query("SELECT ID, NR, NRV, NRPREE FROM " + QuotedTablePath("Cereri.dbf"));
    for (bool more = requests.first(); more; more = requests.next()) {
        const qlonglong id = requests.value("ID").toLongLong();
        const qlonglong nr = requests.value("NR").toLongLong();
        const QString which = QStringLiteral("request %1: ").arg(id);
        if (countOf("Vanzatori.dbf", "ID=?", {id}) != requests.value("NRV").toLongLong())
            return which + "sellers";
        const qlonglong holders = countOf("Preemptori.dbf", "ID=?", {id});
        if (holders != requests.value("NRPREE").toLongLong())
            return which + "holders";
        sqlstore::Query q = acts(id);
        if (q.rowCount() != holders + 4)
            return which + QStringLiteral("%1 acts").arg(q.rowCount());
        for (int i = 0; i < q.rowCount(); ++i, q.next())
            if (q.value("NR").toLongLong() != nr + 1 + i || q.value("NR2PER").toInt() != i + 1)
                return which + "act numbers";
        if (countOf("Log.dbf", "ACTIUNE LIKE ?", {QStringLiteral("Adaugare Cerere: %1,%").arg(nr)}) != 1)
            return which + "log";
    }
    for (const char *file : {"Vanzatori.dbf", "Preemptori.dbf", "AlteActe.dbf"})
        if (countOf(file, "ID NOT IN (SELECT ID FROM " + QuotedTablePath("Cereri.dbf") + ")") != 0)
            return QString(file) + ": rows of a missing request";
    return {};
}

class RegisterProcessTest : public RegisterTest {
protected:
    QString workstation(int n) const { return folder.file(QStringLiteral("ws%1").arg(n)); }
};

} // namespace

TEST_F(RegisterProcessTest, AWorkstationKilledAtAnyPointLeavesEveryRequestWholeOrAbsent)
{
    int killedWhileWorking = 0;
    for (int run = 0; run < 100; ++run) {
        SCOPED_TRACE(run);
        QProcess p;
        p.start(worker(), {"cycle", workstation(1), session().dataFolder, "1000"});
        ASSERT_TRUE(p.waitForStarted());
        ASSERT_TRUE(p.waitForReadyRead(60000));
        // Let it get somewhere: a few finished operations, then a random
        // moment inside the next one.
        const int rounds = QRandomGenerator::global()->bounded(3);
        QByteArray seen = p.readAll();
        while (seen.count("done") < rounds && p.state() == QProcess::Running && p.waitForReadyRead(60000))
            seen += p.readAll();
        QThread::usleep(QRandomGenerator::global()->bounded(30000));
        if (p.state() == QProcess::Running)
            ++killedWhileWorking;
        ::kill(pid_t(p.processId()), SIGKILL);
        p.waitForFinished(60000);
        // The next start: the interrupted operation is undone on first use.
        const QString problem = firstProblem();
        ASSERT_TRUE(problem.isEmpty()) << problem.toStdString();
    }
    EXPECT_GT(killedWhileWorking, 50);
    EXPECT_GT(countOf("Cereri.dbf"), 0);
}

TEST_F(RegisterProcessTest, TwoWorkstationsAddingAtOnceNeverShareANumber)
{
    QProcess a, b;
    a.start(worker(), {"add", workstation(1), session().dataFolder, "200"});
    b.start(worker(), {"add", workstation(2), session().dataFolder, "200"});
    for (QProcess *p : {&a, &b}) {
        ASSERT_TRUE(p->waitForFinished(600000));
        EXPECT_EQ(p->exitCode(), 0) << p->readAllStandardError().toStdString();
    }
    EXPECT_EQ(countOf("Cereri.dbf"), 400);
    for (const char *column : {"NR", "NR2", "ID"})
        EXPECT_EQ(database().scalar(QStringLiteral("SELECT COUNT(DISTINCT %1) FROM ").arg(column)
                                    + QuotedTablePath("Cereri.dbf")).toLongLong(),
                  400)
            << column;
    const qlonglong acts = countOf("AlteActe.dbf");
    EXPECT_EQ(database().scalar("SELECT COUNT(DISTINCT IDA) FROM " + QuotedTablePath("AlteActe.dbf")).toLongLong(), acts);
    // Requests and acts share one running sequence.
    EXPECT_EQ(database().scalar("SELECT COUNT(*) FROM (SELECT NR FROM " + QuotedTablePath("Cereri.dbf")
                                + " UNION SELECT NR FROM " + QuotedTablePath("AlteActe.dbf") + ")").toLongLong(),
              400 + acts);
    const QString problem = firstProblem();
    EXPECT_TRUE(problem.isEmpty()) << problem.toStdString();
}
