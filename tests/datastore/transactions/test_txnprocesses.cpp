// Transactions between processes: a writer killed at random points, a reader
// running beside a writer, and a live writer's journal left alone.
#include "datastore/dbf/journal.h"
#include "locktimeout.h"
#include "testsupport.h"
#include "txnfixture.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QThread>

#include <random>

using namespace sqlstore;
using txntest::headerCount;
using txntest::journalSize;

namespace {

class TransactionProcessTest : public ::testing::Test {
protected:
    void SetUp() override { txntest::createTables(dir.path()); }

    void startWorker(QProcess &p, const QStringList &args, const QByteArray &waitFor = {})
    {
        p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p.start(testsupport::binary("txn_worker"), args);
        ASSERT_TRUE(p.waitForStarted(10000));
        if (waitFor.isEmpty())
            return;
        QByteArray said;
        while (!said.contains(waitFor) && p.waitForReadyRead(30000))
            said += p.readAllStandardOutput();
        ASSERT_TRUE(said.contains(waitFor)) << said.toStdString();
    }

    // Every table is whole for a reader that knows nothing of the journal:
    // dbfdump reads every record its header counts, without a failed read,
    // and the file holds them all.
    void expectReadableByDbfdump()
    {
        for (const QString &name : txntest::tableNames()) {
            const QString path = dir.path() + "/" + name + ".dbf";
            // The listing goes to a file: a pipe read while the machine is
            // busy is not what this checks.
            const QString listing = dir.path() + "/listing.txt";
            QProcess dump;
            dump.setStandardOutputFile(listing);
            dump.start("dbfdump", {path});
            ASSERT_TRUE(dump.waitForFinished(60000));
            const QByteArray err = dump.readAllStandardError();
            ASSERT_EQ(dump.exitStatus(), QProcess::NormalExit);
            ASSERT_EQ(dump.exitCode(), 0) << err.toStdString();
            EXPECT_FALSE(err.contains("failed")) << name.toStdString() << ": " << err.toStdString();
            QFile out(listing);
            ASSERT_TRUE(out.open(QIODevice::ReadOnly));
            const txntest::TableShape shape = txntest::tableShape(path);
            EXPECT_TRUE(shape.whole()) << name.toStdString() << ": " << shape.count << " records in "
                                       << shape.fileSize << " bytes";
            // A title line, then one line per record.
            EXPECT_EQ(quint32(out.readAll().count('\n')), shape.count + 1) << name.toStdString();
            out.close();
            QFile::remove(listing);
        }
    }

    // Waits until the writer said "ready" and has committed `rounds` rounds
    // (or ended); returns the rounds it committed by then. The clock starts
    // when the writer is ready.
    int waitForRounds(QProcess &writer, int rounds, QElapsedTimer *clock)
    {
        QByteArray said;
        const auto committed = [&said] { return int(said.count("round ")); };
        while (!said.contains("ready") && writer.waitForReadyRead(30000))
            said += writer.readAllStandardOutput();
        clock->start();
        while (committed() < rounds && writer.waitForReadyRead(30000))
            said += writer.readAllStandardOutput();
        EXPECT_TRUE(said.contains("ready")) << said.toStdString();
        return committed();
    }

    testsupport::TempFolder dir;
};

TEST_F(TransactionProcessTest, WriterKilledAtRandomPointsLeavesAllOrNothing)
{
    const bool haveDbfdump = testsupport::haveTool("dbfdump");
    const unsigned seed = std::random_device()();
    std::printf("seed %u\n", seed);
    std::mt19937 random(seed);
    // Each writer is killed after a random number of whole rounds and a
    // random part of the next one: the part is measured in the time the
    // writers' rounds have taken so far, from a millisecond (memory-backed
    // folder) to some tens of milliseconds (a disk that makes each sync
    // wait), so the kill falls anywhere in a round, commit included, on any
    // machine. A writer never runs more than kRoundsPerWriter rounds, which
    // the fixture holds for every run.
    std::uniform_int_distribution<int> wholeRounds(0, txntest::kRoundsPerWriter - 2);
    std::uniform_real_distribution<double> partOfARound(0.0, 1.5);
    double roundUs = 5000;
    int insideTransaction = 0;
    for (int run = 0; run < txntest::kKillRuns; ++run) {
        SCOPED_TRACE(run);
        QProcess worker;
        startWorker(worker, {"write", dir.path(), QString::number(txntest::kRoundsPerWriter)});
        const int rounds = wholeRounds(random);
        QElapsedTimer clock;
        const int reached = waitForRounds(worker, rounds, &clock);
        if (reached > 0)
            roundUs = 0.7 * roundUs + 0.3 * double(clock.nsecsElapsed() / 1000) / reached;
        QThread::usleep(unsigned(partOfARound(random) * roundUs));
        worker.kill();
        ASSERT_TRUE(worker.waitForFinished(10000));
        if (journalSize(dir.path()) > 0)
            ++insideTransaction;
        if (haveDbfdump)
            expectReadableByDbfdump();
        // The next open rolls back what the killed writer left half done.
        const QString problem = txntest::disagreement(dir.path());
        ASSERT_EQ(problem, QString());
        EXPECT_EQ(journalSize(dir.path()), 0);
        if (haveDbfdump && run % 50 == 0)
            expectReadableByDbfdump();
    }
    std::printf("runs %d, killed with a journal on disk %d, rounds done %lld, a round %.0f us\n",
                txntest::kKillRuns, insideTransaction, static_cast<long long>(txntest::lastRound(dir.path())),
                roundUs);
    // The runs must reach into transactions, and some must end whole.
    EXPECT_GT(insideTransaction, txntest::kKillRuns / 10);
    EXPECT_GT(txntest::lastRound(dir.path()), 0);
}

TEST_F(TransactionProcessTest, ReaderNeverSeesPartOfATransaction)
{
    const QString stop = dir.path() + "/stop";
    QProcess reader, writer;
    startWorker(reader, {"read", dir.path(), stop});
    startWorker(writer, {"write", dir.path(), QString::number(txntest::kReaderTestRounds)});
    ASSERT_TRUE(writer.waitForFinished(300000));
    QFile(stop).open(QIODevice::WriteOnly);
    ASSERT_TRUE(reader.waitForFinished(60000));
    EXPECT_EQ(writer.exitCode(), 0);
    EXPECT_EQ(reader.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(reader.exitCode(), 0);
    const QByteArray said = reader.readAllStandardOutput();
    EXPECT_TRUE(said.startsWith("passes ")) << said.toStdString();
    std::printf("reader: %s", said.constData());
    EXPECT_EQ(txntest::lastRound(dir.path()), txntest::kReaderTestRounds);
    EXPECT_EQ(txntest::disagreement(dir.path()), QString());
}

TEST_F(TransactionProcessTest, LiveWritersJournalIsLeftAloneAndReadersWait)
{
    txntest::runRound(dir.path(), 1);
    QProcess holder;
    // It holds its transaction until we close its standard input.
    startWorker(holder, {"hold", dir.path()}, "holding");
    const QString preemptori = dir.path() + "/Preemptori.dbf";

    // A reader that may not wait long reports the folder as busy...
    testsupport::LockTimeoutScope wait(200);
    try {
        txntest::lastRound(dir.path());
        ADD_FAILURE() << "read the folder in the middle of another process's transaction";
    } catch (const SqlError &e) {
        EXPECT_TRUE(e.message().contains("este ocupat")) << e.message().toStdString();
        EXPECT_TRUE(e.message().contains(QDir::toNativeSeparators(dir.path()))) << e.message().toStdString();
    }
    // ...and leaves the writer's journal and half-written table alone.
    EXPECT_GT(journalSize(dir.path()), 0);
    EXPECT_EQ(headerCount(preemptori), 2u);

    // One that may wait sees the transaction whole once it ends.
    wait.set(60000);
    holder.closeWriteChannel();
    EXPECT_EQ(txntest::lastRound(dir.path()), 1);
    EXPECT_EQ(txntest::disagreement(dir.path()), QString());
    ASSERT_TRUE(holder.waitForFinished(30000));
    EXPECT_EQ(holder.exitCode(), 0);
}

} // namespace
