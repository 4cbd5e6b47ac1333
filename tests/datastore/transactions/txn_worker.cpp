// A second process for the transaction tests.
//
//     txn_worker write DIR COUNT    prints "ready", then runs COUNT rounds,
//                                   printing "round R" after each commit
//     txn_worker read DIR STOPFILE  checks in a loop, until STOPFILE exists,
//                                   that the tables agree with each other
//     txn_worker hold DIR           opens a transaction, writes one round's
//                                   first row, prints "holding", waits until
//                                   its standard input closes and commits
//
// Exit status 0 on success; the reader prints how many passes it made and the
// rounds it saw.
#include "txnfixture.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdio>

using namespace sqlstore;

namespace {

int writeRounds(const QString &dir, qint64 count)
{
    std::printf("ready\n");
    std::fflush(stdout);
    for (qint64 done = 0; done < count; ++done) {
        const qint64 round = txntest::lastRound(dir) + 1;
        txntest::runRound(dir, round);
        std::printf("round %lld\n", static_cast<long long>(round));
        std::fflush(stdout);
    }
    return 0;
}

int readLoop(const QString &dir, const QString &stopFile)
{
    int passes = 0;
    qint64 first = -1, last = -1;
    while (!QFile::exists(stopFile) || passes == 0) {
        const QString problem = txntest::disagreement(dir);
        if (!problem.isEmpty()) {
            std::fprintf(stderr, "part of a transaction seen: %s\n", problem.toUtf8().constData());
            return 1;
        }
        last = txntest::lastRound(dir);
        if (first < 0)
            first = last;
        ++passes;
    }
    std::printf("passes %d rounds %lld..%lld\n", passes, static_cast<long long>(first), static_cast<long long>(last));
    return 0;
}

int holdTransaction(const QString &dir)
{
    Transaction operation;
    database().exec("INSERT INTO " + txntest::table(dir, "Preemptori") + " (ID, NUME) VALUES (?, ?)",
                    {999999, txntest::textOf(999999)});
    std::printf("holding\n");
    std::fflush(stdout);
    // The test says when to let go by closing our standard input.
    while (std::fgetc(stdin) != EOF) {
    }
    database().exec("DELETE FROM " + txntest::table(dir, "Preemptori") + " WHERE ID = ?", {999999});
    operation.commit();
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() < 2)
        return 2;
    database().setLockTimeout(60000);
    try {
        if (args[0] == "write" && args.size() == 3)
            return writeRounds(args[1], args[2].toLongLong());
        if (args[0] == "read" && args.size() == 3)
            return readLoop(args[1], args[2]);
        if (args[0] == "hold" && args.size() == 2)
            return holdTransaction(args[1]);
    } catch (const SqlError &e) {
        std::fprintf(stderr, "%s\n", e.message().toUtf8().constData());
        return 1;
    }
    return 2;
}
