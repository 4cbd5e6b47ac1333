// A second process for the transaction tests.
//
//     txn_worker write DIR          prints "ready", then runs rounds forever
//     txn_worker write DIR COUNT    runs COUNT rounds and ends
//     txn_worker read DIR STOPFILE  checks in a loop, until STOPFILE exists,
//                                   that the tables agree with each other
//     txn_worker hold DIR MS        opens a transaction, writes one round's
//                                   first row, prints "holding", waits MS
//                                   milliseconds and commits
//
// Exit status 0 on success; the reader prints how many passes it made and the
// rounds it saw.
#include "txnfixture.h"

#include <QCoreApplication>
#include <QFile>
#include <QThread>

#include <cstdio>

using namespace sqlstore;

namespace {

int writeRounds(const QString &dir, qint64 count)
{
    std::printf("ready\n");
    std::fflush(stdout);
    for (qint64 done = 0; count < 0 || done < count; ++done)
        txntest::runRound(dir, txntest::lastRound(dir) + 1);
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

int holdTransaction(const QString &dir, int milliseconds)
{
    Transaction operation;
    database().exec("INSERT INTO " + txntest::table(dir, "Preemptori") + " (ID, NUME) VALUES (?, ?)",
                    {999999, txntest::textOf(999999)});
    std::printf("holding\n");
    std::fflush(stdout);
    QThread::msleep(milliseconds);
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
        if (args[0] == "write")
            return writeRounds(args[1], args.size() > 2 ? args[2].toLongLong() : -1);
        if (args[0] == "read" && args.size() == 3)
            return readLoop(args[1], args[2]);
        if (args[0] == "hold" && args.size() == 3)
            return holdTransaction(args[1], args[2].toInt());
    } catch (const SqlError &e) {
        std::fprintf(stderr, "%s\n", e.message().toUtf8().constData());
        return 1;
    }
    return 2;
}
