// bench_transactions: what making an operation all-or-nothing costs.
//
//     bench_transactions [--runs R] [--folder DIR]
//
// In a data folder (a temporary folder inside DIR, default the system's
// temporary folder) with the tables an added request writes, each holding a
// thousand rows, it times R times (default 40) the statements of adding a
// request: one buyer, two sellers, the request, five acts and an audit row,
// ten INSERTs into five tables. Once as ten statements on their own, once
// inside BEGIN ... COMMIT. It prints the medians in milliseconds and their
// ratio. The ratio depends above all on how long the disk takes to make a
// write durable: a transaction waits for that (a sync of the journal, the
// tables written and the emptied journal), a statement on its own does not;
// so it also prints the median time of one small durable write there.
#include "benchtiming.h"
#include "datastore/sql/database.h"
#include "datastore/sql/sqltext.h"
#include "platform/nativefile.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <vector>

using sqlstore::database;

namespace {

struct Tables {
    QString preemptori, vanzatori, cereri, alteActe, log;
};

QString quoted(const QString &path)
{
    return sqlstore::quoteName(path);
}

Tables createTables(const QString &dir)
{
    Tables t{quoted(dir + "/Preemptori.dbf"), quoted(dir + "/Vanzatori.dbf"), quoted(dir + "/Cereri.dbf"),
             quoted(dir + "/AlteActe.dbf"), quoted(dir + "/Log.dbf")};
    database().exec("CREATE TABLE " + t.preemptori
                    + " (IDP DECIMAL(10,0), ID DECIMAL(10,0), NUME CHAR(80), CNPCUI CHAR(13), ADRESA CHAR(120),"
                      " RANG DECIMAL(4,0), DATAP DATE)");
    database().exec("CREATE TABLE " + t.vanzatori
                    + " (IDV DECIMAL(10,0), ID DECIMAL(10,0), NRCRT DECIMAL(6,0), VANZATOR CHAR(80),"
                      " CNPCUI CHAR(13), ADRESA CHAR(120))");
    database().exec("CREATE TABLE " + t.cereri
                    + " (ID DECIMAL(10,0), NR DECIMAL(10,0), NR2 DECIMAL(10,0), DATAC DATE, SUPRAF CHAR(24),"
                      " PRET DECIMAL(12,2), NRCAD CHAR(80), LOC CHAR(60), STARE DECIMAL(6,0))");
    database().exec("CREATE TABLE " + t.alteActe
                    + " (IDA DECIMAL(10,0), ID DECIMAL(10,0), TIPACT CHAR(60), NRA DECIMAL(10,0), DATAA DATE,"
                      " TEXT CHAR(200))");
    database().exec("CREATE TABLE " + t.log
                    + " (IDLOG DECIMAL(10,0), DATAL DATE, ORA CHAR(8), ACTIUNE CHAR(200), UTILIZ CHAR(30))");
    return t;
}

// The ten statements of adding request `id`.
void addRequest(const Tables &t, qint64 id)
{
    const QDate day(2024, 2, 29);
    database().exec("INSERT INTO " + t.preemptori + " (IDP, ID, NUME, CNPCUI, ADRESA, RANG, DATAP)"
                    " VALUES (?,?,?,?,?,?,?)",
                    {id, id, QString::fromUtf8("Preemptor Ţăran %1").arg(id), "1800101123456", "Str. Mare 1", 3, day});
    for (int k = 1; k <= 2; ++k)
        database().exec("INSERT INTO " + t.vanzatori + " (IDV, ID, NRCRT, VANZATOR, CNPCUI, ADRESA)"
                        " VALUES (?,?,?,?,?,?)",
                        {id * 10 + k, id, k, QString::fromUtf8("Vânzător %1").arg(id), "2800101123456", "Sat Deal"});
    database().exec("INSERT INTO " + t.cereri + " (ID, NR, NR2, DATAC, SUPRAF, PRET, NRCAD, LOC, STARE)"
                    " VALUES (?,?,?,?,?,?,?,?,?)",
                    {id, id, id, day, "1,2500 ha", 12500.5, "CAD 123/4", "Deal", 1});
    for (int k = 1; k <= 5; ++k)
        database().exec("INSERT INTO " + t.alteActe + " (IDA, ID, TIPACT, NRA, DATAA, TEXT) VALUES (?,?,?,?,?,?)",
                        {id * 10 + k, id, "Act", k, day, "Anunt afisat la sediul primariei"});
    database().exec("INSERT INTO " + t.log + " (IDLOG, DATAL, ORA, ACTIUNE, UTILIZ) VALUES (?,?,?,?,?)",
                    {id, day, "10:00:00", QString("Adaugare cerere %1").arg(id), "admin"});
}

// One small write made durable, as the journal does.
double syncMilliseconds(const QString &dir)
{
    platform::NativeFile probe;
    std::vector<double> times;
    QElapsedTimer clock;
    const bool opened = probe.open(dir + "/probe", platform::NativeFile::ReadWriteCreate);
    for (int i = 0; i < 20 && opened; ++i) {
        clock.start();
        if (!probe.writeAt(i * 5, "probe", 5) || !probe.syncData())
            break;
        times.push_back(clock.nsecsElapsed() / 1e6);
    }
    return bench::median(times);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    int runs = 40;
    QString parent = QDir::tempPath();
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == "--runs")
            runs = qMax(1, args[i + 1].toInt());
        else if (args[i] == "--folder")
            parent = args[i + 1];
    }
    QTemporaryDir dir(parent + "/bench_transactions_XXXXXX");
    if (!dir.isValid()) {
        std::fprintf(stderr, "bench_transactions: no temporary folder in %s\n", qPrintable(parent));
        return 2;
    }
    const Tables tables = createTables(dir.path());
    qint64 id = 1;
    {
        sqlstore::Transaction seed;
        for (; id <= 1000; ++id)
            addRequest(tables, id);
        seed.commit();
    }
    std::vector<double> alone, together;
    QElapsedTimer clock;
    for (int run = 0; run < runs; ++run) {
        clock.start();
        addRequest(tables, id++);
        alone.push_back(clock.nsecsElapsed() / 1e6);
        clock.start();
        sqlstore::Transaction operation;
        addRequest(tables, id++);
        operation.commit();
        together.push_back(clock.nsecsElapsed() / 1e6);
    }
    const double a = bench::median(alone), t = bench::median(together);
    std::printf("folder %s, %d runs\n", qPrintable(parent), runs);
    std::printf("add request, statements alone:      %8.3f ms\n", a);
    std::printf("add request, one transaction:       %8.3f ms\n", t);
    std::printf("ratio transaction / alone:          %8.2f\n", a > 0 ? t / a : 0.0);
    std::printf("one durable write (fdatasync):      %8.3f ms\n", syncMilliseconds(dir.path()));
    return 0;
}
