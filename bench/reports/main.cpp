// Benchmark of the register spreadsheets: a period with many output rows in
// both formats. The peer is the gathering of the rows itself (the statements
// that fill the working table and the output query, in the same run): the
// writing of the workbook (rows filled and the file saved) is measured
// against it, with the number of progress steps shown while writing, and the
// peak memory of the process for two sizes.
//
//     bench_reports [rows]        (default 20000)
#include "datastore/schema.h"
#include "datastore/settings.h"
#include "datastore/sql/database.h"
#include "platform/prompter.h"
#include "platform/session.h"
#include "reports/export/registerspreadsheets.h"

#include "ui/qtprompter.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <cstdio>

namespace {

long peakKilobytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// The program's own progress window (on the offscreen platform unless another
// is named), noting when each phase starts: the last ProgressBegin opens the
// writing of the rows, after every statement has run.
class TimingPrompter : public Prompter {
public:
    int Mesaj(const QString &, const QString &, int, int) override { return ResultCancel; }
    void ShowProblem(const QString &, QWidget *) override {}
    void ShowIndication(const QString &, QWidget *) override {}
    void ProgressBegin(const QString &description, int maximum) override
    {
        lastBegin = clock.nsecsElapsed();
        lastMaximum = maximum;
        peakAtBegin = peakKilobytes();
        steps = 0;
        qtPrompter().ProgressBegin(description, maximum);
    }
    void ProgressStep() override
    {
        ++steps;
        qtPrompter().ProgressStep();
    }
    void ProgressEnd() override { qtPrompter().ProgressEnd(); }
    QElapsedTimer clock;
    qint64 lastBegin = 0;
    int lastMaximum = 0;
    int steps = 0;
    long peakAtBegin = 0;
};

// Requests with two sellers each; for format 1 each request also has an
// act, so the rows are split between requests and acts.
void fillTables(int requests, bool withActs)
{
    using sqlstore::database;
    const QString series = QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<%1) ")
                               .arg(requests);
    database().exec(QStringLiteral("INSERT INTO ") + QuotedTablePath("Cereri.dbf")
                    + QStringLiteral(" (ID, NR, NR2, NRDOSAR, DATAC, SUPRAF, PRET, NRCAD, NRCARTE, TARLA, NRTARLA,"
                                     " NRPARC, CATEG, FUNCTIONAR) ")
                    + series
                    + QStringLiteral("SELECT i, i, i, 'D' || i, date('2015-01-01', '+' || (i % 3000) || ' days'),"
                                     " '1.25', 1000 + i, 'CAD' || i, 'CF' || i, 'LA VALE', 'T' || (i % 90),"
                                     " 'P' || i, 'ARABIL', 'FUNCTIONAR' FROM n"));
    for (int k = 1; k <= 2; ++k)
        database().exec(QStringLiteral("INSERT INTO ") + QuotedTablePath("Vanzatori.dbf")
                        + QStringLiteral(" (IDV, ID, NRCRT, VANZATOR, CNPCUI, LOCV, ADRESA, JUDET) ") + series
                        + QStringLiteral("SELECT i * 2 + %1, i, %1, 'VANZATOR ' || i || ' NUME LUNG', '1800101010011',"
                                         " 'SAT', 'STRADA ' || i, 'ALBA' FROM n")
                              .arg(k));
    if (withActs)
        database().exec(QStringLiteral("INSERT INTO ") + QuotedTablePath("AlteActe.dbf")
                        + QStringLiteral(" (IDA, ID, NR, NR2, NR2PER, DATAA, DATAEXP, MODUL, EMITENT, DESTINATAR,"
                                         " TIPACT) ")
                        + series
                        + QStringLiteral("SELECT i, i, 100000 + i, i, 1, date('2015-01-02', '+' || (i % 3000) ||"
                                         " ' days'), '1899-12-31', 'intrare', 'OCPI', 'PRIMARIE', 'ADRESA' FROM n"));
}

struct Run {
    double gatherSeconds;
    double writeSeconds;
    int rows;
    int steps;
    qint64 bytes;
    // Peak memory when the writing began and when it ended.
    long peakBeforeWriting;
    long peakAfterWriting;
    // Peak memory once the tables were filled, before the export began.
    long peakBeforeExport;
};

Run runOnce(int format, int rows)
{
    QTemporaryDir program;
    resetSession(program.path());
    QDir().mkpath(session().dataFolder);
    CreateTables();
    WriteSetting("CONST", "UNITATE", "PRIMARIA BENCH");
    fillTables(format == 1 ? rows / 2 : rows, format == 1);

    RegisterExport job;
    job.format = format;
    job.from = QDate(2014, 1, 1);
    job.to = QDate(2030, 12, 31);
    job.output = program.filePath("out.xls");
    TimingPrompter prompter;
    const long beforeExport = peakKilobytes();
    QString error;
    prompter.clock.start();
    if (!WriteRegisterSpreadsheet(job, prompter, &error)) {
        std::fprintf(stderr, "bench_reports: %s\n", qPrintable(error));
        std::exit(1);
    }
    const qint64 end = prompter.clock.nsecsElapsed();
    return {prompter.lastBegin / 1e9, (end - prompter.lastBegin) / 1e9, prompter.lastMaximum, prompter.steps,
            QFileInfo(job.output).size(), prompter.peakAtBegin, peakKilobytes(), beforeExport};
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int rows = argc > 1 ? std::atoi(argv[1]) : 20000;
    for (int format : {2, 1}) {
        const long before = peakKilobytes();
        const Run small = runOnce(format, rows / 4);
        const long afterSmall = peakKilobytes();
        const Run big = runOnce(format, rows);
        const long afterBig = peakKilobytes();
        std::printf("format %d: %d rows gathered in %.2f s, written in %.2f s (ratio %.2f), %d progress steps while"
                    " writing, workbook %lld bytes\n",
                    format, big.rows, big.gatherSeconds, big.writeSeconds, big.writeSeconds / big.gatherSeconds,
                    big.steps, static_cast<long long>(big.bytes));
        std::printf("format %d: %d rows: ratio %.2f; peak memory %ld kB before, %ld kB after %d rows, %ld kB after"
                    " %d rows\n",
                    format, small.rows, small.writeSeconds / small.gatherSeconds, before, afterSmall, small.rows,
                    afterBig, big.rows);
        std::printf("format %d: peak memory raised by gathering %d rows %ld kB, by writing them %ld kB;"
                    " by gathering %d rows %ld kB, by writing them %ld kB\n",
                    format, small.rows, small.peakBeforeWriting - small.peakBeforeExport,
                    small.peakAfterWriting - small.peakBeforeWriting, big.rows,
                    big.peakBeforeWriting - big.peakBeforeExport, big.peakAfterWriting - big.peakBeforeWriting);
    }
    return 0;
}
