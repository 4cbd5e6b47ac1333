// bench_engine: the data engine against its peer and its ceiling.
//
//     bench_engine [--requests N] [--runs R] [--folder DIR]
//
// Generates a data folder of N requests (default 50 000) and measures, median
// of R runs (default 5):
//   (a) the register query: requests with their seller NRCRT=1, by DATAC, NR;
//   (b) the other acts ordered by DATAA, NR;
//   (c) MAX(NR2PER) of one request over Comunicari and AlteActe;
//   (d) a single-row INSERT into AlteActe (median of 1 000);
//   (e) an UPDATE of one act by IDA (median of 1 000);
// through our engine, through SpatiaLite's read-only VirtualDbf on the same
// files (reads only; for (a) the sellers are first copied into a temporary
// table, because the statement as written scans the sellers once per request
// there, and it is measured once and stopped after --peer-limit seconds,
// default 300, as it takes minutes), and through the same
// data in native in-memory SQLite tables with indexes on the id columns.
#include "benchtiming.h"
#include "datagen.h"

#include "datastore/sql/database.h"
#include "datastore/sql/sqltext.h"

#include <sqlite3.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <optional>
#include <vector>

using sqlstore::database;

namespace {

// Deadline of the statement running on the peer, past which it is stopped.
QElapsedTimer peerClock;
qint64 peerLimitMs = 0;

int stopAtDeadline(void *)
{
    return peerLimitMs > 0 && peerClock.elapsed() > peerLimitMs ? 1 : 0;
}

// Runs a statement on a raw connection, stepping through every row and
// touching every column, as a grid would. Returns -1 when it was stopped at
// its deadline.
long long runRaw(sqlite3 *db, const QString &sql, const QVariantList &params = {})
{
    sqlite3_stmt *st = nullptr;
    const QByteArray text = sql.toUtf8();
    if (sqlite3_prepare_v2(db, text.constData(), -1, &st, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "%s\n%s\n", sqlite3_errmsg(db), text.constData());
        std::exit(1);
    }
    for (int i = 0; i < params.size(); ++i) {
        if (params[i].typeId() == QMetaType::QString) {
            const QByteArray s = params[i].toString().toUtf8();
            sqlite3_bind_text(st, i + 1, s.constData(), int(s.size()), SQLITE_TRANSIENT);
        } else {
            sqlite3_bind_int64(st, i + 1, params[i].toLongLong());
        }
    }
    long long rows = 0;
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        for (int c = 0; c < sqlite3_column_count(st); ++c)
            sqlite3_column_text(st, c);
        ++rows;
    }
    if (rc == SQLITE_INTERRUPT) {
        sqlite3_finalize(st);
        return -1;
    }
    if (rc != SQLITE_DONE) {
        std::fprintf(stderr, "%s\n", sqlite3_errmsg(db));
        std::exit(1);
    }
    sqlite3_finalize(st);
    return rows;
}

QString registerQuery(const QString &cereri, const QString &vanzatori)
{
    return "SELECT A.*,\n"
           "B.VANZATOR, B.CNPCUI, B.LOCV, B.ADRESA, B.JUDET, B.TEL, B.MANDATAR, B.MCALITATE, B.MCONFORM, B.MTEL,\n"
           "B.MCNPCUI, B.MLOCV, B.MADRESA, B.MJUDET, B.MCODPOST, B.MBI, B.MBISERIA, B.MBINR, B.MBIELIB, B.MBIDATA\n"
           "FROM " + cereri + " A\n"
           "FULL JOIN " + vanzatori + " B\n"
           "  ON A.ID=B.ID\n"
           "WHERE B.NRCRT=1\n"
           "ORDER BY A.DATAC, A.NR";
}

struct Figures {
    std::optional<double> ours, peer, native;
    // The peer was stopped at its time limit: its figure is a lower bound.
    bool peerStopped = false;
};

void print(const char *what, const Figures &f)
{
    auto cell = [](const std::optional<double> &v) {
        return v ? QString::number(*v, 'f', 3) : QStringLiteral("-");
    };
    const QString peer = (f.peerStopped ? QStringLiteral(">") : QString()) + cell(f.peer);
    const QString peerRatio = (f.peerStopped ? QStringLiteral("<") : QString()) +
        (f.ours && f.peer && *f.peer > 0 ? QString::number(*f.ours / *f.peer, 'f', 4) + "x" : QStringLiteral("-"));
    auto ratio = [](const std::optional<double> &a, const std::optional<double> &b) {
        return a && b && *b > 0 ? QString::number(*a / *b, 'f', 2) + "x" : QStringLiteral("-");
    };
    std::printf("%-44s %12s %12s %12s %14s %14s\n", what, qPrintable(cell(f.ours)), qPrintable(peer),
                qPrintable(cell(f.native)), qPrintable(ratio(f.ours, f.native)), qPrintable(peerRatio));
    std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    int requests = 50000;
    int runs = 5;
    int operations = 1000;
    int peerLimitSeconds = 300;
    QString folder;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == "--requests")
            requests = args[i + 1].toInt();
        else if (args[i] == "--runs")
            runs = args[i + 1].toInt();
        else if (args[i] == "--operations")
            operations = args[i + 1].toInt();
        else if (args[i] == "--peer-limit")
            peerLimitSeconds = args[i + 1].toInt();
        else if (args[i] == "--folder")
            folder = args[i + 1];
    }
    QTemporaryDir temporary;
    if (folder.isEmpty())
        folder = temporary.path();
    QDir().mkpath(folder);
    auto path = [&](const char *name) { return QDir(folder).filePath(name); };
    auto quoted = [&](const char *name) { return sqlstore::quoteName(path(name)); };

    try {
        QElapsedTimer clock;
        clock.start();
        benchdata::generate(folder, requests);
        std::printf("data folder %s: %d requests, generated in %.1f s\n", qPrintable(folder), requests,
                    double(clock.elapsed()) / 1000);
        std::printf("rows: Cereri %lld, Vanzatori %lld, Preemptori %lld, Comunicari %lld, AlteActe %lld\n",
                    database().scalar("SELECT COUNT(*) FROM " + quoted("Cereri.dbf")).toLongLong(),
                    database().scalar("SELECT COUNT(*) FROM " + quoted("Vanzatori.dbf")).toLongLong(),
                    database().scalar("SELECT COUNT(*) FROM " + quoted("Preemptori.dbf")).toLongLong(),
                    database().scalar("SELECT COUNT(*) FROM " + quoted("Comunicari.dbf")).toLongLong(),
                    database().scalar("SELECT COUNT(*) FROM " + quoted("AlteActe.dbf")).toLongLong());

        // The ceiling: the same rows in native in-memory tables.
        sqlite3 *db = database().handle();
        sqlite3_exec(db, "ATTACH ':memory:' AS native", nullptr, nullptr, nullptr);
        for (const char *name : {"Cereri", "Vanzatori", "Comunicari", "AlteActe"})
            database().exec(QString("CREATE TABLE native.%1 AS SELECT * FROM \"%2\"")
                                .arg(name, path((QString(name) + ".dbf").toUtf8().constData())));
        sqlite3_exec(db,
                     "CREATE INDEX native.v_id ON Vanzatori(ID); CREATE INDEX native.a_ida ON AlteActe(IDA);"
                     "CREATE INDEX native.a_id ON AlteActe(ID); CREATE INDEX native.c_id ON Comunicari(ID);",
                     nullptr, nullptr, nullptr);

        // The peer: SpatiaLite's VirtualDbf, read-only, in its own connection.
        sqlite3 *peer = nullptr;
        sqlite3_open(":memory:", &peer);
        sqlite3_enable_load_extension(peer, 1);
        char *error = nullptr;
        const bool havePeer = sqlite3_load_extension(peer, "mod_spatialite", nullptr, &error) == SQLITE_OK;
        if (!havePeer) {
            std::printf("VirtualDbf not available: %s\n", error ? error : "?");
            sqlite3_free(error);
        } else {
            for (const char *name : {"Cereri", "Vanzatori", "Comunicari", "AlteActe"}) {
                const QString sql = QString("CREATE VIRTUAL TABLE v%1 USING VirtualDbf('%2', 'CP1250', 1)")
                                        .arg(name, path((QString(name) + ".dbf").toUtf8().constData()));
                runRaw(peer, sql);
            }
        }

        QRandomGenerator random(42);
        std::printf("\n%-44s %12s %12s %12s %14s %14s\n", "median, ms", "ours", "VirtualDbf", "native", "ours/native",
                    "ours/peer");

        Figures a;
        long long ourRows = 0;
        a.ours = bench::measure(runs, [&] {
            ourRows = database().query(registerQuery(quoted("Cereri.dbf"), quoted("Vanzatori.dbf"))).rowCount();
        });
        long long nativeRows = 0;
        a.native = bench::measure(runs, [&] { nativeRows = runRaw(db, registerQuery("native.Cereri", "native.Vanzatori")); });
        // One run only, and stopped at the time limit: the peer needs minutes.
        if (havePeer) {
            sqlite3_progress_handler(peer, 10000, stopAtDeadline, nullptr);
            peerLimitMs = qint64(peerLimitSeconds) * 1000;
            peerClock.start();
            a.peer = bench::measure(1, [&] {
                runRaw(peer, "DROP TABLE IF EXISTS temp.tv");
                a.peerStopped = runRaw(peer, "CREATE TEMP TABLE tv AS SELECT * FROM vVanzatori") < 0
                                || runRaw(peer, registerQuery("vCereri", "temp.tv")) < 0;
            });
            peerLimitMs = 0;
        }
        print("(a) register query (peer: sellers copied)", a);
        if (ourRows != nativeRows)
            std::printf("    rows differ: ours %lld, native %lld\n", ourRows, nativeRows);

        Figures b;
        b.ours = bench::measure(runs, [&] { database().query("SELECT * FROM " + quoted("AlteActe.dbf") + " ORDER BY DATAA, NR"); });
        b.native = bench::measure(runs, [&] { runRaw(db, "SELECT * FROM native.AlteActe ORDER BY DATAA, NR"); });
        if (havePeer)
            b.peer = bench::measure(runs, [&] { runRaw(peer, "SELECT * FROM vAlteActe ORDER BY DATAA, NR"); });
        print("(b) AlteActe by DATAA, NR", b);

        // A lookup takes well under a millisecond here, where one descheduling
        // of the process shows: take the median of many.
        auto nr2per = [&](auto runOne, int times) {
            return bench::measure(times, [&] {
                const int id = 1 + int(random.bounded(requests));
                runOne(id);
            });
        };
        Figures c;
        c.ours = nr2per([&](int id) {
            database().scalar("SELECT MAX(NR2PER) AS NRX FROM " + quoted("Comunicari.dbf") + " WHERE ID=?", {id});
            database().scalar("SELECT MAX(NR2PER) AS NRX FROM " + quoted("AlteActe.dbf") + " WHERE ID=?", {id});
        }, qMax(runs, 101));
        c.native = nr2per([&](int id) {
            runRaw(db, "SELECT MAX(NR2PER) AS NRX FROM native.Comunicari WHERE ID=?", {id});
            runRaw(db, "SELECT MAX(NR2PER) AS NRX FROM native.AlteActe WHERE ID=?", {id});
        }, qMax(runs, 101));
        if (havePeer)
            c.peer = nr2per([&](int id) {
                runRaw(peer, "SELECT MAX(NR2PER) AS NRX FROM vComunicari WHERE ID=?", {id});
                runRaw(peer, "SELECT MAX(NR2PER) AS NRX FROM vAlteActe WHERE ID=?", {id});
            }, runs);
        print("(c) MAX(NR2PER) of one request", c);

        const QString insert = " (IDA, ID, NR, NR2, NR2PER, DATAA, DATAEXP, MODUL, EMITENT, DESTINATAR, TIPACT,"
                               " DETALII, IDC, BLOCAT) VALUES (?, ?, ?, ?, 7, '2024-03-01', NULL, 'iesire',"
                               " 'Primăria comunei Sălcuţa', ?, 'Adresa de inaintare', ?, 0, '')";
        long long nextIda = qint64(requests) * 10 + 100;
        Figures d;
        d.ours = bench::measure(operations, [&] {
            const long long ida = nextIda++;
            database().exec("INSERT INTO " + quoted("AlteActe.dbf") + insert,
                            {ida, ida % requests, ida, ida % requests, QString("Destinatar %1").arg(ida),
                             QString("Cererea %1").arg(ida % requests)});
        });
        d.native = bench::measure(operations, [&] {
            const long long ida = nextIda++;
            runRaw(db, "INSERT INTO native.AlteActe" + insert,
                   {ida, ida % requests, ida, ida % requests, QString("Destinatar %1").arg(ida),
                    QString("Cererea %1").arg(ida % requests)});
        });
        print("(d) one INSERT into AlteActe", d);

        const QString update = " SET DATAA='2024-03-02', DATAEXP='2024-03-04', MODUL='iesire', EMITENT=?,"
                               " DESTINATAR=?, TIPACT='Notificare', DETALII=? WHERE IDA=?";
        auto someAct = [&] { return qint64(1 + random.bounded(requests)) * 10 + 1 + random.bounded(6); };
        Figures e;
        e.ours = bench::measure(operations, [&] {
            const long long ida = someAct();
            database().exec("UPDATE " + quoted("AlteActe.dbf") + update,
                            {"Primăria Sălcuţa", QString("Dest %1").arg(ida), "Cererea", ida});
        });
        e.native = bench::measure(operations, [&] {
            const long long ida = someAct();
            runRaw(db, "UPDATE native.AlteActe" + update, {"Primăria Sălcuţa", QString("Dest %1").arg(ida), "Cererea", ida});
        });
        print("(e) one UPDATE of AlteActe by IDA", e);
        sqlite3_close(peer);
    } catch (const sqlstore::SqlError &e) {
        std::fprintf(stderr, "%s\n", e.message().toUtf8().constData());
        return 1;
    }
    return 0;
}
