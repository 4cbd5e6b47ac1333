// bench_register: how fast the register opens and shows a change.
//
//     bench_register DATA_DIR [--rows FILE] [--runs N]
//
// Opens the register of DATA_DIR as the window does (offscreen, with the
// folder's "Arv2.set" or the defaults) and prints the medians of N runs
// (default 5):
//   query_ms:   the register statement as the data engine runs it;
//   open_ms:    opening the window's datasets with every computed column;
//   refresh_ms: showing the register again after "set the state" changed one
//               request (on a copy of the folder).
// A folder without tables is first filled with the engine benchmark's 50 000
// requests. With --rows the grid is written as CSV, one line per row in grid
// order, with the status line of each row.
#include "benchtiming.h"
#include "datagen.h"

#include "datastore/calendar.h"
#include "datastore/schema.h"
#include "datastore/sql/database.h"
#include "platform/session.h"
#include "register/registermodels.h"
#include "register/registerqueries.h"
#include "register/registerstatus.h"
#include "register/tevidente.h"
#include "ui/qtprompter.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTableView>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

double timed(const std::function<void()> &step)
{
    QElapsedTimer clock;
    clock.start();
    step();
    return double(clock.nsecsElapsed()) / 1e6;
}

bool copyFolder(const QString &from, const QString &to)
{
    QDir().mkpath(to);
    for (const QFileInfo &f : QDir(from).entryInfoList(QDir::Files))
        if (!QFile::copy(f.filePath(), QDir(to).filePath(f.fileName())))
            return false;
    return true;
}

void writeRows(TEvidente &window, const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return;
    }
    QTextStream out(&file);
    const QStringList columns = {"NRS", "DATAC", "STARES", "Expirat", "ZileRamase",
                                 "DataScad1", "DataScad2", "DataScad"};
    out << columns.join(',') << ",StareL\n";
    const RequestRegister &ax = window.requests();
    for (int row = 0; row < ax.rowCount(); ++row) {
        QStringList cells;
        for (const QString &c : columns)
            cells << RequestCellText(ax, row, c).trimmed();
        cells << StatusOf(ax.stare(row), ax.pv1(row), ax.columns(row), ax.today()).text;
        for (QString &cell : cells)
            if (cell.contains(',') || cell.contains('"'))
                cell = '"' + cell.replace('"', "\"\"") + '"';
        out << cells.join(',') << '\n';
    }
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty()) {
        std::fprintf(stderr, "bench_register DATA_DIR [--rows FILE] [--runs N]\n");
        return 2;
    }
    const QString data = QDir(args.takeFirst()).absolutePath();
    QString rowsFile;
    int runs = 5;
    for (int i = 0; i + 1 < args.size(); i += 2) {
        if (args[i] == "--rows")
            rowsFile = args[i + 1];
        else if (args[i] == "--runs")
            runs = std::max(1, args[i + 1].toInt());
    }
    QTemporaryDir program;
    resetSession(program.path());
    session().dataFolder = data;
    session().workstationUser = QStringLiteral("BENCH - register");
    if (!QFile::exists(TablePath("Cereri.dbf"))) {
        QDir().mkpath(data);
        std::fprintf(stderr, "generating 50000 requests in %s\n", qPrintable(data));
        benchdata::generate(data, 50000);
    }
    try {
        TEvidente window(qtPrompter());
        const bool perRequest = LoadRegisterSettings().perRequestNumbering;
        std::vector<double> query, open, refresh;
        for (int r = 0; r < runs; ++r) {
            query.push_back(timed([&] { sqlstore::database().query(RegisterStatement(perRequest)); }));
            open.push_back(timed([&] { window.OpenDatasets(); }));
            if (r + 1 < runs)
                window.CloseDatasets();
        }
        if (!rowsFile.isEmpty())
            writeRows(window, rowsFile);
        window.CloseDatasets();

        QTemporaryDir copy;
        if (!copyFolder(data, copy.path())) {
            std::fprintf(stderr, "cannot copy %s\n", qPrintable(data));
            return 1;
        }
        session().dataFolder = copy.path();
        window.OpenDatasets();
        for (int r = 0; r < runs; ++r) {
            const int row = window.requests().rowCount() / 2 + r;
            window.AxGrid->selectRow(row);
            const qlonglong id = window.requests().id(row);
            const int stare = window.requests().stare(row) == 1 ? 0 : 1;
            window.requests().noteChange(SetRequestState(id, stare));
            refresh.push_back(timed([&] { window.RefreshRequests(id); }));
            if (window.requests().stare(window.requests().rowOfId(id)) != stare) {
                std::fprintf(stderr, "the change was not shown\n");
                return 1;
            }
        }
        std::printf("rows: %d\n", window.requests().rowCount());
        std::printf("query_ms: %.1f\nopen_ms: %.1f\nrefresh_ms: %.1f\n", bench::median(query), bench::median(open), bench::median(refresh));
    } catch (const ArvenaError &e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.message()));
        return 1;
    }
    return 0;
}
