// A second process for the sharing and crash tests: it works on a table
// through the engine the way another workstation would.
//
//     engine_worker insert TABLE FIRST COUNT   inserts rows FIRST .. FIRST+COUNT-1
//     engine_worker read TABLE STOPFILE        reads in a loop until STOPFILE exists,
//                                              checking every row and the count
//     engine_worker update TABLE               rewrites rows forever
//     engine_worker pack TABLE                 deletes and packs forever
//     engine_worker insertloop TABLE FIRST     inserts forever
//
// The three that run forever print "working" once their first operation is
// done, so that a test can kill them in the middle of their work.
//
// Every row is self-checking: NUME and CONTROL are derived from ID, so a torn
// row shows. Exit status 0 on success; the reader prints how many passes it
// made.
#include "datastore/dbf/tableops.h"
#include "datastore/sql/database.h"
#include "datastore/sql/sqltext.h"

#include <QCoreApplication>
#include <QFile>
#include <QThread>

#include <cstdio>

using namespace sqlstore;

namespace {

QString nameOf(qint64 id)
{
    return QString::fromUtf8("Ştefan Ţăran %1 îâ").arg(id);
}

qint64 controlOf(qint64 id)
{
    return id * 7 + 3;
}

void insertRow(const QString &table, qint64 id)
{
    database().exec("INSERT INTO " + sqlstore::quoteName(table) + " (ID, NUME, CONTROL, DATAA) VALUES (?,?,?,?)",
                    {id, nameOf(id), controlOf(id), QDate(2024, 2, 29)});
}

// Called after each operation of a worker that runs forever.
void operationDone()
{
    static bool said = false;
    if (said)
        return;
    said = true;
    std::printf("working\n");
    std::fflush(stdout);
}

int readLoop(const QString &table, const QString &stopFile)
{
    int passes = 0;
    int lastCount = 0;
    while (!QFile::exists(stopFile) || passes == 0) {
        Query q = database().query("SELECT ID, NUME, CONTROL, DATAA FROM " + sqlstore::quoteName(table));
        if (q.rowCount() < lastCount) {
            std::fprintf(stderr, "count went back from %d to %d\n", lastCount, q.rowCount());
            return 1;
        }
        lastCount = q.rowCount();
        for (q.first(); !q.eof(); q.next()) {
            const qint64 id = q.value(0).toLongLong();
            if (q.value(1).toString() != nameOf(id) || q.value(2).toLongLong() != controlOf(id)
                || q.value(3).toDate() != QDate(2024, 2, 29)) {
                std::fprintf(stderr, "torn row %lld\n", static_cast<long long>(id));
                return 1;
            }
        }
        const int counted = database().scalar("SELECT COUNT(*) FROM " + sqlstore::quoteName(table)).toInt();
        if (counted < lastCount) {
            std::fprintf(stderr, "COUNT(*) %d below rows seen %d\n", counted, lastCount);
            return 1;
        }
        ++passes;
    }
    std::printf("passes %d rows %d\n", passes, lastCount);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() < 2)
        return 2;
    const QString mode = args[0];
    const QString table = args[1];
    try {
        if (mode == "insert" && args.size() == 4) {
            const qint64 first = args[2].toLongLong();
            for (qint64 i = 0; i < args[3].toLongLong(); ++i)
                insertRow(table, first + i);
            return 0;
        }
        if (mode == "read" && args.size() == 3)
            return readLoop(table, args[2]);
        if (mode == "insertloop" && args.size() == 3) {
            for (qint64 id = args[2].toLongLong();; ++id) {
                insertRow(table, id);
                operationDone();
            }
        }
        if (mode == "update") {
            for (qint64 round = 0;; ++round) {
                database().exec("UPDATE " + sqlstore::quoteName(table) + " SET NUME=NUME, CONTROL=CONTROL, DATAA=? WHERE ID>=0",
                                {QDate(2024, 2, 29)});
                operationDone();
            }
        }
        if (mode == "pack") {
            for (qint64 id = 1000000;; ++id) {
                insertRow(table, id);
                database().exec("DELETE FROM " + sqlstore::quoteName(table) + " WHERE ID=?", {id});
                dbf::packTable(table);
                operationDone();
            }
        }
    } catch (const SqlError &e) {
        std::fprintf(stderr, "%s\n", e.message().toUtf8().constData());
        return 1;
    } catch (const dbf::DbfError &e) {
        std::fprintf(stderr, "%s\n", e.message().toUtf8().constData());
        return 1;
    }
    return 2;
}
